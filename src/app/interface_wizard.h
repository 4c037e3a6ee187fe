#pragma once

#include <QPointer>
#include <QString>
#include <vector>

#include "app/preferences.h"
#include "controls/skinned_dialog.h"
#include "shell/interface_selection.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace ravelfin {

/// The interface-selection page shown in the main window's content area: it lists the
/// attached readers, one line each with version, interface and device, and connects to the
/// one chosen. It ends (the dialog's `finished`) after a successful "CONTINUE" or on
/// "CANCEL"; only the former changes the reader in use.
class InterfaceWizard final : public SkinnedDialog {
    Q_OBJECT
  public:
    InterfaceWizard(Connection& connection, Messenger& messenger, QWidget* parent);

    /// Lists the devices and probes those of the selected group. The list offers
    /// `remembered` first when it is among them; `reason`, when given, says why the wizard
    /// opened and stays shown once the search is over.
    void Initialise(const Preferences& remembered = Preferences{},
                    const QString& reason = QString());
    /// Refills the device combo from the selected group, probing each device. "CONTINUE"
    /// is disabled and a line says that readers are searched for meanwhile.
    void FillCombo();
    /// Readers arrived or left: lists and probes the devices again, keeping the chosen reader
    /// (by its identity) chosen while it is there; when it left, no line is chosen. During a
    /// search or a connect the list is redone after it.
    void DevicesChanged();
    /// Replaces the model-number prompt (the modal ModelNumberDialog by default).
    void SetModelNumberPrompt(InterfaceSelection::ModelNumberPrompt prompt);

    InterfaceSelection& Selection() { return selection_; }
    QComboBox* DeviceCombo() const { return combo_; }
    QLabel* DeviceLabel() const { return deviceLabel_; }
    /// The line beside the device list: the search going on, or why the wizard opened.
    QLabel* StatusLine() const { return status_; }
    QPushButton* ContinueButton() const { return continue_; }
    QPushButton* CancelButton() const { return cancel_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void OnContinue();
    void OnCancel();
    int SelectedGroup() const;
    void ShowStatus(const QString& text);
    void FitStatus();
    /// Places the device label, list, status line and buttons for the page's size.
    void LayOut();

    Messenger& messenger_;
    InterfaceSelection selection_;
    InterfaceSelection::ModelNumberPrompt prompt_;
    Preferences remembered_;
    QString reason_;
    std::vector<DeviceEntry> comboEntries_;
    bool busy_ = false;            // a search or a connect is running
    bool devicesChanged_ = false;  // and readers arrived or left meanwhile
    QRadioButton* groups_[3];
    QLabel* deviceLabel_;
    QComboBox* combo_;
    QLabel* status_;
    QPushButton* continue_;
    QPushButton* cancel_;
};

/// The wizard's line for one device: version text (or a note that it did not answer),
/// interface, device name and USB serial number, for example
/// "V4.30 — USB HID keyboard — /dev/hidraw3 — SN0001".
QString DeviceLine(const InterfaceSelection::Choice& choice);

}  // namespace ravelfin
