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

// A pause that lets the test look at the window while a reader conversation waits.
struct WatchingPause final : Pause {
    void Wait(int /*milliseconds*/) override {
        if (Watch)
            Watch();
    }
    std::function<void()> Watch;
};
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
            // Two readers of one firmware are told apart by their devices and serial numbers.
            {{"usb-hid,firmware=V4.30", "usb-hid,firmware=V4.30", "usb-hid-kb,firmware=V4.30"},
             {"V4.30 \u2014 USB HID keyboard \u2014 /sim/hidraw2 \u2014 SN00000003",
              "V4.30 \u2014 USB HID \u2014 /sim/hidraw0 \u2014 SN00000001",
              "V4.30 \u2014 USB HID \u2014 /sim/hidraw1 \u2014 SN00000002"},
             2,
             5},
        };
        for (const Case& c : cases) {
            AppRig rig(c.readers);
            InterfaceWizard wizard(rig.Link, rig.Messages, nullptr);
            QSignalSpy ended(&wizard, &QDialog::finished);
            wizard.Initialise();
            QCOMPARE(wizard.DeviceCombo()->count(), c.listed.size());
            for (int i = 0; i < c.listed.size(); ++i)
                QVERIFY2(wizard.DeviceCombo()->itemText(i).contains(c.listed[i]),
                         qPrintable(wizard.DeviceCombo()->itemText(i)));
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
        QCOMPARE(
            wizard.DeviceCombo()->itemText(0),
            QString::fromUtf8("(no answer) \u2014 USB HID \u2014 /sim/hidraw0 \u2014 SN00000001"));

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

    void onlyContinueChangesTheReaderInUse();
};

void InterfaceWizardTest::onlyContinueChangesTheReaderInUse() {
    // The keyboard reader is probed first, the HID reader last.
    WatchingPause pause;
    SimulatedEnvironment machine(pause);
    std::string error;
    for (const char* optionText : {"usb-hid-kb,firmware=V3.31", "usb-hid,firmware=V4.30"})
        QVERIFY(machine.AddReaderFromOptionText(optionText, error));
    RecordingMessenger messages;
    Connection link(machine, messages);
    QVERIFY(link.Connect(kInterfaceUsbHidKb, 0));
    ReaderSettings* inUse = link.Settings.get();

    for (int attempt = 0; attempt < 2; ++attempt) {
        InterfaceWizard wizard(link, messages, nullptr);
        // While the readers are probed the page says so and CONTINUE waits.
        int watched = 0;
        pause.Watch = [&] {
            ++watched;
            QCOMPARE(wizard.StatusLine()->text(), QStringLiteral("Searching for readers..."));
            QVERIFY(!wizard.ContinueButton()->isEnabled());
        };
        wizard.Initialise(Preferences{kInterfaceUsbHidKb, 0},
                          QStringLiteral("Several readers are attached: choose the one to use."));
        pause.Watch = nullptr;
        QVERIFY(watched > 0 && wizard.ContinueButton()->isEnabled());
        QCOMPARE(wizard.StatusLine()->text(),
                 QStringLiteral("Several readers are attached: choose the one to use."));
        QCOMPARE(wizard.DeviceCombo()->currentIndex(), 0);  // the reader in use is offered

        if (attempt == 1) {
            // A CONTINUE that fails changes nothing either.
            wizard.DeviceCombo()->setCurrentIndex(1);
            machine.Reader(1).SetFault(SimulatedFault::NoAnswer);
            wizard.SetModelNumberPrompt([] { return std::nullopt; });
            wizard.ContinueButton()->click();
        }
        wizard.CancelButton()->click();
        QVERIFY(link.IsConnected() && link.Settings.get() == inUse);
        QCOMPARE(link.InterfaceType, int(kInterfaceUsbHidKb));
        QCOMPARE(link.DeviceIndex, 0);
        QCOMPARE(link.FirmwareVersionText, std::string("V3.31"));
    }

    // CONTINUE to the other reader replaces it; a remembered reader is offered first.
    machine.Reader(1).SetFault(SimulatedFault::None);
    InterfaceWizard wizard(link, messages, nullptr);
    wizard.Initialise(Preferences{kInterfaceUsbHid, 1});
    QCOMPARE(wizard.DeviceCombo()->currentIndex(), 1);
    QCOMPARE(wizard.StatusLine()->text(), QString());
    wizard.ContinueButton()->click();
    QCOMPARE(link.InterfaceType, int(kInterfaceUsbHid));
    QVERIFY(link.IsConnected() && link.FirmwareVersionText == "V4.30");
    QVERIFY(messages.Messages.empty());
}

RAVELFIN_GUI_TEST(InterfaceWizardTest);
#include "interface_wizard_test.moc"
