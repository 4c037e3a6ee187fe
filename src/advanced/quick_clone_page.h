#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "controls/skinned_page.h"
#include "flows/quick_clone.h"
#include "transport/device_discovery.h"
#include "transport/reader_environment.h"

class QComboBox;
class QPushButton;

namespace ravelfin {

/// The "Quick Clone" tab: reads the whole configuration of one attached reader (the source)
/// into a record of its own and writes its general settings to another (the target). Each
/// button builds and opens its own transport by the chosen device's name; the connection's
/// transport and record are never touched. The connection lists follow readers that arrive
/// and leave (`DeviceChanged`) and keep the reader chosen in them by its identity; each
/// button opens that reader where it is at the moment, or says that it left. Enter runs
/// "Clone To MSR", Escape "Read From MSR".
class QuickClonePage final : public SkinnedPage {
    Q_OBJECT
  public:
    /// Notifications closer than this to the last handled one are ignored.
    static constexpr std::int64_t kDeviceChangeQuietMs = 500;

    QuickClonePage(ReaderEnvironment& machine, Messenger& messages, QWidget* parent = nullptr);

    /// Readers arrived or left at `timestampMs` (any clock that only moves forward): lists the
    /// keyboard, USB serial and HID readers again, unless the last handled notification was
    /// less than kDeviceChangeQuietMs before.
    void DeviceChanged(std::int64_t timestampMs);
    void ReadFromMsr();
    void CloneToMsr();

    QComboBox* SourceInterface() const { return sourceInterface_; }
    QComboBox* TargetInterface() const { return targetInterface_; }
    QComboBox* SourceConnection() const { return sourceConnection_; }
    QComboBox* TargetConnection() const { return targetConnection_; }
    QPushButton* ReadButton() const { return readButton_; }
    QPushButton* CloneButton() const { return cloneButton_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    /// Lists the readers of `type` again; a list that changed (other readers, or the same in
    /// other places) replaces the stored one and refills the connection lists showing it.
    void RefreshDeviceList(int type);
    /// The reader chosen in a connection list, as it was listed.
    std::optional<DeviceEntry> ChosenReader(const QComboBox* connectionList) const;
    /// Where the reader chosen in `connectionList` is now; nothing, after saying so, when it
    /// left. A device without an identity is taken by the name shown.
    std::optional<DeviceAddress> WhereNow(const QComboBox* connectionList, const char* side);
    void InterfaceChosen(QComboBox* interfaceList, QComboBox* connectionList);
    void FillConnections(QComboBox* connectionList, int type);
    /// The interface type chosen in `interfaceList`, or 0 when none is chosen.
    static int ChosenType(const QComboBox* interfaceList);

    ReaderEnvironment& machine_;
    Messenger& messages_;
    QuickClone flow_;
    std::map<const QComboBox*, std::vector<DeviceEntry>> connectionEntries_;  // as shown
    std::map<const QComboBox*, DeviceEntry> lastChosen_;  // kept while it is away
    std::array<std::vector<DeviceEntry>, 6> lists_;       // by interface type; 0 unused
    std::optional<std::int64_t> lastDeviceChange_;
    QComboBox* sourceInterface_;
    QComboBox* targetInterface_;
    QComboBox* sourceConnection_;
    QComboBox* targetConnection_;
    QPushButton* readButton_;
    QPushButton* cloneButton_;
};

}  // namespace ravelfin
