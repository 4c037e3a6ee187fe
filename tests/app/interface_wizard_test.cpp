#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "app/interface_wizard.h"
#include "app/model_number_dialog.h"
#include "app/support/gui_test_support.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
constexpr char kNoUsbReader[] =
    "No Reader with USB interface has been found, Please Select Right Interface!";
constexpr char kCouldNotOpen[] = "Could not open Lumatrak device, please check it!";

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

class InterfaceWizardTest : public QObject {
    Q_OBJECT

  private slots:
    void theReadersAreListedByVersionAndTheChosenOneConnected() {
        struct Case {
            Strings readers;
            QStringList listed;         // a part of each entry, in order
            int chosen, connectedType;  // type 0: the wizard explains and stays
        };
        const Case cases[] = {
            {{}, {}, -1, 0},
            {{"usb-hid,firmware=V4.30"}, {"4.30"}, 0, 5},
            // Keyboard readers first; the first entry is the default.
            {{"usb-hid,firmware=V4.30", "usb-hid-kb,firmware=V3.31"}, {"3.31", "4.30"}, 0, 3},
            {{"usb-hid,firmware=V4.30", "usb-rs232,firmware=V2.10", "usb-hid-kb,firmware=V3.31"},
             {"3.31", "2.10", "4.30"},
             1,
             4},
        };
        for (const Case& c : cases) {
            AppRig rig(c.readers);
            InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
            QSignalSpy ended(&wizard, &QDialog::finished);
            wizard.Initialise();
            QCOMPARE(wizard.DeviceCombo()->count(), c.listed.size());
            for (int i = 0; i < c.listed.size(); ++i)
                QVERIFY(wizard.DeviceCombo()->itemText(i).contains(c.listed[i]));
            QCOMPARE(wizard.DeviceCombo()->currentIndex(), c.listed.isEmpty() ? -1 : 0);
            wizard.DeviceCombo()->setCurrentIndex(c.chosen);
            wizard.ContinueButton()->click();
            QCOMPARE(rig.Link.IsConnected(), c.connectedType != 0);
            QCOMPARE(rig.Link.InterfaceType, c.connectedType);
            QCOMPARE(ended.count(), c.connectedType ? 1 : 0);
            QCOMPARE(rig.Messages.Messages, c.connectedType ? Strings{} : Strings{kNoUsbReader});
        }
    }

    void anUnreadableReaderFallsBackToTheModelNumber() {
        AppRig rig({"usb-hid", "rs232"});
        rig.Machine.Reader(0).SetFault(SimulatedFault::NoAnswer);
        InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
        QSignalSpy ended(&wizard, &QDialog::finished);
        wizard.Initialise();
        QCOMPARE(wizard.DeviceCombo()->count(), 1);  // only the USB group, the mute one too
        QCOMPARE(wizard.DeviceCombo()->itemText(0), QString());

        // Every complaint of the prompt (empty, unknown model, 7 and 19 characters, unknown
        // series), then an 18-character number naming USB-HID, whose reader still is mute.
        AnswerPrompt(
            {"", "rx-44305", "RX-4430", "RX-44305ABCDEFGHIJK", "RX-44505", "RX-44305ABCDEFGHIJ"});
        wizard.ContinueButton()->click();
        QCOMPARE(
            rig.Messages.Messages,
            (Strings{"Please Input Model Number!", "Unknown Model Number!", "Unknown Model Number!",
                     "Unknown Model Number!", "Unknown Model Number!", kCouldNotOpen}));

        // A PS/2 model has no transport: both messages. A cancelled prompt, or a number
        // naming no interface, ends quietly. The wizard stays throughout.
        rig.Messages.Clear();
        for (const char* answer : {"RX-44303", "<cancel>", "RX-44409"}) {
            AnswerPrompt({answer});
            wizard.ContinueButton()->click();
        }
        QCOMPARE(rig.Messages.Messages, (Strings{"ERROR Interface Type!", kCouldNotOpen}));
        QCOMPARE(ended.count(), 0);

        // A serial model finds the serial reader the list did not offer.
        rig.Messages.Clear();
        AnswerPrompt({"RX-44102"});
        wizard.ContinueButton()->click();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(rig.Link.InterfaceType, 1);
        QVERIFY(rig.Link.IsConnected() && rig.Messages.Messages.empty());
    }
};

RAVELFIN_GUI_TEST(InterfaceWizardTest);
#include "interface_wizard_test.moc"
