#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/interface_wizard.h"
#include "app/model_number_dialog.h"
#include "app/support/app_rig.h"
#include "app/support/gui_test_registry.h"
#include "app/support/gui_test_support.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
constexpr char kNoUsbReader[] =
    "No Reader with USB interface has been found, Please Select Right Interface!";
constexpr char kCouldNotOpen[] = "Could not open Lumatrak device, please check it!";

using Strings = std::vector<std::string>;

// Answers the model-number prompt: types each entry and presses Continue; an entry of
// "<cancel>" presses Cancel instead.
void AnswerPrompt(const QStringList& entries) {
    OnNextModal([entries](QWidget* modal) {
        auto* prompt = qobject_cast<ModelNumberDialog*>(modal);
        QVERIFY(prompt);
        for (const QString& entry : entries) {
            if (entry == QStringLiteral("<cancel>")) {
                prompt->CancelButton()->click();
                return;
            }
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
    void withNoReaderContinueExplainsAndStays() {
        AppRig rig;
        InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
        QSignalSpy ended(&wizard, &QDialog::finished);
        wizard.Initialise();
        QCOMPARE(wizard.DeviceCombo()->count(), 0);
        wizard.ContinueButton()->click();
        QCOMPARE(rig.Messages.Messages, Strings{kNoUsbReader});
        QCOMPARE(ended.count(), 0);
    }

    void oneReaderIsListedByItsVersionAndConnected() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid,firmware=V4.30"});
        InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
        QSignalSpy ended(&wizard, &QDialog::finished);
        wizard.Initialise();
        QCOMPARE(wizard.DeviceCombo()->count(), 1);
        QVERIFY(wizard.DeviceCombo()->itemText(0).contains(QStringLiteral("4.30")));
        QCOMPARE(wizard.DeviceCombo()->currentIndex(), 0);

        wizard.ContinueButton()->click();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).toInt(), int(QDialog::Accepted));
        QVERIFY(rig.Link.IsConnected());
        QCOMPARE(rig.Link.InterfaceType, 5);
        QVERIFY(rig.Messages.Messages.empty());
    }

    void twoReadersAreListedKeyboardFirstAndTheChosenOneConnected() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid,firmware=V4.30", "usb-hid-kb,firmware=V3.31"});
        InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
        QSignalSpy ended(&wizard, &QDialog::finished);
        wizard.Initialise();
        QCOMPARE(wizard.DeviceCombo()->count(), 2);
        QVERIFY(wizard.DeviceCombo()->itemText(0).contains(QStringLiteral("3.31")));
        QVERIFY(wizard.DeviceCombo()->itemText(1).contains(QStringLiteral("4.30")));
        // Probing leaves the connection describing the last device probed.
        QCOMPARE(rig.Link.InterfaceType, 5);

        wizard.DeviceCombo()->setCurrentIndex(0);
        wizard.ContinueButton()->click();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(rig.Link.InterfaceType, 3);
        QVERIFY(rig.Link.IsConnected());
    }

    void anUnreadableReaderFallsBackToTheModelNumber() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid"});
        rig.Machine.Reader(0).SetFault(SimulatedFault::NoAnswer);
        InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
        QSignalSpy ended(&wizard, &QDialog::finished);
        wizard.Initialise();
        QCOMPARE(wizard.DeviceCombo()->count(), 1);
        QCOMPARE(wizard.DeviceCombo()->itemText(0), QString());  // listed, can be chosen

        // Every complaint of the prompt, then an 18-character number naming USB-HID, whose
        // one reader still does not answer.
        AnswerPrompt({QString(), QStringLiteral("rx-44305"), QStringLiteral("RX-4430"),
                      QStringLiteral("RX-44305ABCDEFGHIJK"), QStringLiteral("RX-44505"),
                      QStringLiteral("RX-44305ABCDEFGHIJ")});
        wizard.ContinueButton()->click();
        QCOMPARE(
            rig.Messages.Messages,
            (Strings{"Please Input Model Number!", "Unknown Model Number!", "Unknown Model Number!",
                     "Unknown Model Number!", "Unknown Model Number!", kCouldNotOpen}));
        QCOMPARE(ended.count(), 0);

        // A PS/2 model has no transport: both messages, and the wizard stays.
        rig.Messages.Clear();
        AnswerPrompt({QStringLiteral("RX-44303")});
        wizard.ContinueButton()->click();
        QCOMPARE(rig.Messages.Messages, (Strings{"ERROR Interface Type!", kCouldNotOpen}));

        // A cancelled prompt, or a number naming no interface, ends quietly.
        rig.Messages.Clear();
        AnswerPrompt({QStringLiteral("<cancel>")});
        wizard.ContinueButton()->click();
        AnswerPrompt({QStringLiteral("RX-44409")});
        wizard.ContinueButton()->click();
        QVERIFY(rig.Messages.Messages.empty());
        QCOMPARE(ended.count(), 0);
    }

    void aModelNumberFindsASerialReaderTheListMissed() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid", "rs232"});
        rig.Machine.Reader(0).SetFault(SimulatedFault::NoAnswer);
        InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
        QSignalSpy ended(&wizard, &QDialog::finished);
        wizard.Initialise();
        QCOMPARE(wizard.DeviceCombo()->count(), 1);  // only the USB group is offered

        AnswerPrompt({QStringLiteral("RX-44102")});
        wizard.ContinueButton()->click();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(rig.Link.InterfaceType, 1);
        QVERIFY(rig.Link.IsConnected());
        QVERIFY(rig.Messages.Messages.empty());
    }

    void cancelEndsTheWizardLeavingTheLastProbe() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid-kb", "usb-hid"});
        InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
        QSignalSpy ended(&wizard, &QDialog::finished);
        wizard.Initialise();
        wizard.CancelButton()->click();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).toInt(), int(QDialog::Rejected));
        QCOMPARE(wizard.Selection().SelectedType, 0);
        QCOMPARE(rig.Link.InterfaceType, 5);
        QCOMPARE(rig.Link.DeviceIndex, 1);
        QVERIFY(!rig.Link.IsConnected());
    }
};

RAVELFIN_GUI_TEST(InterfaceWizardTest);
#include "interface_wizard_test.moc"
