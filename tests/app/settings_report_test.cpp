#include <QPlainTextEdit>
#include <QTest>

#include "app/main_window.h"
#include "app/preferences.h"
#include "app/support/app_rig.h"
#include "app/support/gui_test_registry.h"
#include "app/support/gui_test_support.h"
#include "report/ui/settings_report_dialog.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
using Strings = std::vector<std::string>;

// Presses CHECK CURRENT READER SETTINGS and returns the text of the report window that
// opens, or "" when none does.
QString CheckSettings(MainWindow& window) {
    QString shown;
    QPointer<QTimer> poll = OnNextModal([&shown](QWidget* modal) {
        auto* report = qobject_cast<SettingsReportDialog*>(modal);
        QVERIFY(report);
        QVERIFY(report->TextBox()->isReadOnly());
        shown = report->ShownText();
        report->OkButton()->click();
    });
    QTest::mouseClick(window.Navigation().At(NavigationBar::kCheckSettings), Qt::LeftButton);
    // A report that did not open leaves the poll running: let it give up.
    if (shown.isEmpty())
        QTest::qWait(50);
    return shown;
}
}  // namespace

class SettingsReportTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { SavePreferences(Preferences{}); }

    void theOnlyReaderIsConnectedAndReported() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid,firmware=V4.30"});
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        const QString report = CheckSettings(window);
        QVERIFY(report.startsWith(
            QStringLiteral("=============Check Current Ravelfin Settings===============\n")));
        QVERIFY(report.contains(QStringLiteral("INTERFACE_TYPE: USB-HID\n")));
        QVERIFY(report.contains(QStringLiteral("Firmware Version: V4.30")));
        QVERIFY(!report.contains(QLatin1Char('\r')));
        QVERIFY(rig.Messages.Messages.empty());
        QVERIFY(!window.Wizard());
    }

    void aConnectedReaderIsReadAgainEachTime() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid"});
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        QVERIFY(!CheckSettings(window).isEmpty());
        rig.Machine.Reader(0).Settings().Terminator = 'X';
        QVERIFY(CheckSettings(window).contains(QStringLiteral("Terminator: X\n")));
    }

    void failuresAreSaidAndNoReportShows() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid"});
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        QVERIFY(!CheckSettings(window).isEmpty());

        rig.Machine.Reader(0).SetFault(SimulatedFault::PortBusy);
        QVERIFY(CheckSettings(window).isEmpty());
        rig.Machine.Reader(0).SetFault(SimulatedFault::NoAnswer);
        QVERIFY(CheckSettings(window).isEmpty());
        rig.Machine.Reader(0).SetFault(SimulatedFault::WrongLrc);
        QVERIFY(CheckSettings(window).isEmpty());
        QCOMPARE(rig.Messages.Messages,
                 (Strings{"Can not open Ravelfin device!", "Can not read from Ravelfin device!",
                          "Can not read from Ravelfin device!"}));
    }

    void withNoReaderToFindTheWizardOpensInstead() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid", "usb-hid-kb"});
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        QVERIFY(CheckSettings(window).isEmpty());
        QVERIFY(window.Wizard());
        QVERIFY(rig.Messages.Messages.empty());
    }

    void theReportDialogShowsLatin1BytesAndPlainLineEnds() {
        const std::string report = "Track Separator: \xA7\r\nTerminator: \\cr\r\n";
        SettingsReportDialog dialog(report);
        QCOMPARE(dialog.ShownText(),
                 QString::fromUtf8("Track Separator: \xC2\xA7\nTerminator: \\cr\n"));
    }
};

RAVELFIN_GUI_TEST(SettingsReportTest);
#include "settings_report_test.moc"
