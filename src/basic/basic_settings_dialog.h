#pragma once

#include <array>

#include "controls/skinned_dialog.h"
#include "flows/flow_context.h"

class QLabel;
class QPushButton;
class QTabWidget;

namespace ravelfin {

class BasicPage;
class ConfigFileChooser;
class Connection;
class GeneralSettingsPage;
class KeyboardSettingsPage;
class Messenger;
class PrePostamblePage;
class TrackSettingsPage;

/// "Change Basic Settings:": four tabs of pages that edit the connection's settings record
/// in place, and the buttons that send it to the reader, save it, load it, restore the
/// reader's factory settings and close the editor. The editor is a page in the main
/// window's content area; it ends with `done`, and Enter and Escape do not end it.
class BasicSettingsDialog final : public SkinnedDialog {
    Q_OBJECT
  public:
    BasicSettingsDialog(Connection& connection, Messenger& messenger, ConfigFileChooser& files,
                        QWidget* parent = nullptr);

    /// Reloads every page from the record, in tab order.
    void RefreshAllPages();
    /// The reader was opened again after its reset: the pages show the new record and the
    /// editor takes input again.
    void ReaderReopened();

    // The five flows, as their buttons run them.
    void SendToMsr();
    void SaveToFile();
    void LoadFromFile();
    void DefaultAll();

    QTabWidget* Tabs() const { return tabs_; }
    GeneralSettingsPage* GeneralPage() const { return general_; }
    PrePostamblePage* PrePostPage() const { return prePost_; }
    TrackSettingsPage* TrackPage() const { return track_; }
    KeyboardSettingsPage* KeyboardPage() const { return keyboard_; }
    enum ButtonId { kSend, kSave, kLoad, kDefaultAll, kClose, kButtonCount };
    QPushButton* Button(ButtonId id) const { return buttons_[id]; }

  signals:
    /// The reader resets after what was sent and must be opened again. When the editor
    /// closes for it, it has ended before this is emitted.
    void ReopenRequested();
    /// "Default All" read the reader's settings into the record: another editor on the same
    /// record reloads its pages.
    void SettingsReread();

  protected:
    /// Escape closes nothing: "Close" is the only way out.
    void reject() override {}

  private:
    FlowContext Context() const;
    void AfterReset(ReaderReset reset);
    /// Runs one flow unless another is still running (its pauses keep the window alive).
    template <typename Flow>
    void RunFlow(Flow&& flow);

    Connection& connection_;
    Messenger& messenger_;
    ConfigFileChooser& files_;
    QLabel* caption_;
    QTabWidget* tabs_;
    GeneralSettingsPage* general_;
    PrePostamblePage* prePost_;
    TrackSettingsPage* track_;
    KeyboardSettingsPage* keyboard_;
    std::array<QPushButton*, kButtonCount> buttons_{};
    bool busy_ = false;
};

}  // namespace ravelfin
