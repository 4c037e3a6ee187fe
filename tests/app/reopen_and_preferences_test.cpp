#include <QSettings>
#include <QTest>

#include "app/main_window.h"
#include "app/preferences.h"
#include "app/support/app_rig.h"
#include "app/support/gui_test_registry.h"
#include "app/support/gui_test_support.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
using Strings = std::vector<std::string>;
constexpr char kReopened[] = "Success to re-open the device.";
constexpr char kNotReopened[] =
    "Warning: fail to re-open the device. please try it from \"Select Interface\" windows.";
}  // namespace

class ReopenAndPreferencesTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { SavePreferences(Preferences{}); }

    void aReaderBackAfterItsResetIsReopened() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid"});
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        window.ChangeAdvancedSettings();
        QDialog* advanced = window.AdvancedDialog();
        QVERIFY(advanced);

        window.ReopenReader();
        QCOMPARE(rig.Messages.Messages, Strings{kReopened});
        QVERIFY(rig.Link.IsConnected());
        QCOMPARE(editors.Reopened, std::vector<QDialog*>{advanced});
        QCOMPARE(window.AdvancedDialog(), advanced);
    }

    void aReaderThatStaysAwayClosesTheEditorAndOpensTheWizard() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid"});
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        window.ChangeAdvancedSettings();
        rig.Machine.Reader(0).SetFault(SimulatedFault::PortBusy);
        rig.TakePauses();

        window.ReopenReader();
        QCOMPARE(rig.Messages.Messages, Strings{kNotReopened});
        const std::vector<int> pauses = rig.TakePauses();
        QCOMPARE(std::count(pauses.begin(), pauses.end(), 300), 20L);
        QVERIFY(editors.Reopened.empty());
        QVERIFY(!window.AdvancedDialog());
        QVERIFY(window.Wizard());
    }

    void theSelectionIsRestoredAtStartAndWrittenAtExit() {
        {
            QSettings store;
            store.setValue(QStringLiteral("Settings/InterfaceType"), 4);
            store.setValue(QStringLiteral("Settings/DeviceIndex"), 2);
        }
        AppRig rig;
        Attach(rig.Machine, {"usb-hid-kb", "usb-hid"});
        {
            StubEditors editors;
            MainWindow window(rig.Link, rig.Messages, editors);
            QCOMPARE(rig.Link.InterfaceType, 4);
            QCOMPARE(rig.Link.DeviceIndex, 2);
            // The wizard probes both readers; cancelling it keeps the last one probed.
            window.SelectReaderInterface();
            window.Wizard()->CancelButton()->click();
        }
        const Preferences stored = LoadPreferences();
        QCOMPARE(stored.InterfaceType, 5);
        QCOMPARE(stored.DeviceIndex, 1);
    }

    void absentOrDamagedValuesGiveTheDefaults() {
        QSettings().remove(QStringLiteral("Settings"));
        Preferences loaded = LoadPreferences();
        QCOMPARE(loaded.InterfaceType, 0);
        QCOMPARE(loaded.DeviceIndex, -1);
        QSettings().setValue(QStringLiteral("Settings/DeviceIndex"), QStringLiteral("two"));
        QCOMPARE(LoadPreferences().DeviceIndex, -1);
    }
};

RAVELFIN_GUI_TEST(ReopenAndPreferencesTest);
#include "reopen_and_preferences_test.moc"
