#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "app/interface_wizard.h"
#include "app/model_number_dialog.h"
#include "app/support/gui_test_support.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
// Answers the model-number prompt: types each entry and presses Continue; "<cancel>"
// presses Cancel instead.
void AnswerPrompt(const QStringList& entries) {
    OnNextModal([entries](QWidget* modal) {
        auto* prompt = qobject_cast<ModelNumberDialog*>(modal);
        QVERIFY(prompt);
        for (const QString& entry : entries) {
            if (entry == "<cancel>")
                return prompt->CancelButton()->click();
            prompt->ModelEdit()->setText(entry);
            prompt->ContinueButton()->click();
        }
        if (prompt->isVisible())
            prompt->reject();
    });
}
}  // namespace

// The probing, the order of the list and what a model number means are the shell's and the
// rules' (tested there); these tests are about the page that shows them.
class InterfaceWizardTest : public QObject {
    Q_OBJECT

  private slots:
    void theReadersAreListedApartAndTheChosenOneConnected() {
        AppRig rig(
            {"usb-hid,firmware=V4.30", "usb-hid,firmware=V4.30", "usb-hid-kb,firmware=V4.30"});
        InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
        QSignalSpy ended(&wizard, &QDialog::finished);
        wizard.Initialise();
        QComboBox& list = *wizard.DeviceCombo();
        QCOMPARE(list.currentIndex(), 0);
        // Two readers of one firmware are told apart by their devices and serial numbers.
        QCOMPARE(list.itemText(1),
                 QString::fromUtf8("V4.30 \u2014 USB HID \u2014 /sim/hidraw0 \u2014 SN00000001"));
        QCOMPARE(list.itemText(2),
                 QString::fromUtf8("V4.30 \u2014 USB HID \u2014 /sim/hidraw1 \u2014 SN00000002"));
        list.setCurrentIndex(2);
        wizard.ContinueButton()->click();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(rig.Link.DeviceIndex, 1);
        QCOMPARE(rig.Link.InterfaceType, int(kInterfaceUsbHid));

        AppRig none;
        InterfaceWizard empty(none.Link, none.Messages, nullptr);
        QSignalSpy stays(&empty, &QDialog::finished);
        empty.Initialise();
        empty.ContinueButton()->click();
        QVERIFY(stays.isEmpty() && !none.Link.IsConnected());
        QCOMPARE(none.Messages.Messages.size(), 1u);  // its text is the shell's
    }

    // CONTINUE meant for a reader that left must not take the one now in its line.
    void aChosenReaderThatLeavesLeavesNothingChosen() {
        AppRig rig({"usb-hid,firmware=V4.30", "usb-hid,firmware=V4.30"});
        InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
        wizard.Initialise();
        rig.Machine.Unplug(0);  // the first line, chosen at start
        wizard.DevicesChanged();
        QCOMPARE(wizard.DeviceCombo()->count(), 1);
        QCOMPARE(wizard.DeviceCombo()->currentIndex(), -1);
        wizard.ContinueButton()->click();
        QVERIFY(!rig.Link.IsConnected());
    }

    void anUnreadableReaderFallsBackToTheModelNumber() {
        AppRig rig({"usb-hid"});
        rig.Machine.Reader(0).SetFault(SimulatedFault::NoAnswer);
        InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
        QSignalSpy ended(&wizard, &QDialog::finished);
        wizard.Initialise();
        // The prompt complains and asks again until a number names an interface; a
        // cancelled prompt ends quietly; the wizard stays throughout.
        AnswerPrompt({"", "RX-44505", "RX-44305ABCDEFGHIJ"});
        wizard.ContinueButton()->click();
        AnswerPrompt({"<cancel>"});
        wizard.ContinueButton()->click();
        QCOMPARE(rig.Messages.Messages,
                 (Strings{"Please Input Model Number!", "Unknown Model Number!",
                          "Could not open Lumatrak device, please check it!"}));
        QCOMPARE(ended.count(), 0);
    }

    void whileTheReadersAreProbedThePageSaysSoAndContinueWaits() {
        AppRig rig({"usb-hid-kb,firmware=V3.31", "usb-hid,firmware=V4.30"});
        InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
        int watched = 0;
        rig.Machine.RecordedPauses().OnWait = [&](int) {
            ++watched;
            QCOMPARE(wizard.StatusLine()->text(), QStringLiteral("Searching for readers..."));
            QVERIFY(!wizard.ContinueButton()->isEnabled());
        };
        const QString why = QStringLiteral("Several readers are attached: choose the one to use.");
        // A remembered reader is offered first.
        wizard.Initialise(Preferences{kInterfaceUsbHid, 1}, why);
        rig.Machine.RecordedPauses().OnWait = nullptr;
        QVERIFY(watched > 0 && wizard.ContinueButton()->isEnabled());
        QCOMPARE(wizard.StatusLine()->text(), why);
        QCOMPARE(wizard.DeviceCombo()->currentIndex(), 1);
    }
};

RAVELFIN_GUI_TEST(InterfaceWizardTest);
#include "interface_wizard_test.moc"
