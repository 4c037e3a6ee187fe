#pragma once

#include <QPointer>
#include <vector>

#include "app/interface_selection.h"
#include "controls/skinned_dialog.h"

class QComboBox;
class QPushButton;
class QRadioButton;

namespace ravelfin {

/// The interface-selection page shown in the main window's content area: it lists the
/// attached readers by their version texts and connects to the one chosen. It ends (the
/// dialog's `finished`) after a successful "CONTINUE" or on "CANCEL".
class InterfaceWizard final : public SkinnedDialog {
    Q_OBJECT
  public:
    InterfaceWizard(Connection& connection, Messenger& messenger, QWidget* parent);

    /// Lists the devices and probes those of the selected group.
    void Initialise();
    /// Refills the device combo from the selected group, probing each device.
    void FillCombo();
    /// Replaces the model-number prompt (the modal ModelNumberDialog by default).
    void SetModelNumberPrompt(InterfaceSelection::ModelNumberPrompt prompt);

    InterfaceSelection& Selection() { return selection_; }
    QComboBox* DeviceCombo() const { return combo_; }
    QPushButton* ContinueButton() const { return continue_; }
    QPushButton* CancelButton() const { return cancel_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void OnContinue();
    void OnCancel();
    int SelectedGroup() const;

    Messenger& messenger_;
    InterfaceSelection selection_;
    InterfaceSelection::ModelNumberPrompt prompt_;
    std::vector<DeviceEntry> comboEntries_;
    QRadioButton* groups_[3];
    QComboBox* combo_;
    QPushButton* continue_;
    QPushButton* cancel_;
};

}  // namespace ravelfin
