#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "app/preferences.h"
#include "app/support/gui_test_support.h"
#include "controls/message_dialog.h"
#include "report/ui/settings_report_dialog.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
void Click(MainWindow& window, NavigationBar::Button button) {
    QTest::mouseClick(window.Navigation().At(button), Qt::LeftButton);
}

// Presses CHECK CURRENT READER SETTINGS; the text of the report that opens, or "" for none.
QString CheckSettings(MainWindow& window) {
    QString shown;
    QPointer<QTimer> poll = OnNextModal([&shown](QWidget* modal) {
        auto* report = qobject_cast<SettingsReportDialog*>(modal);
        QVERIFY(report && report->TextBox()->isReadOnly());
        shown = report->ShownText();
        report->OkButton()->click();
    });
    Click(window, NavigationBar::kCheckSettings);
    delete poll;
    return shown;
}

std::pair<int, int> Remembered() {
    const Preferences stored = LoadPreferences();
    return {stored.InterfaceType, stored.DeviceIndex};
}
}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { SavePreferences(Preferences{}); }

    void thePagesExcludeEachOtherWithANotice() {
        AppRig rig({"usb-hid"});
        MainWindow window(rig.Link, rig.Messages, rig.Editors);
        QVERIFY(!rig.Link.Transport && !rig.Link.Settings);  // nothing opened at start
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        // The wizard keeps the editors and the report out without touching the reader.
        Click(window, NavigationBar::kSelectInterface);
        QVERIFY(window.Wizard() && window.Wizard()->isVisible());
        rig.TakePauses();
        Click(window, NavigationBar::kChangeBasic);
        Click(window, NavigationBar::kChangeAdvanced);
        Click(window, NavigationBar::kCheckSettings);
        QCOMPARE(rig.Messages.Notices.size(), 3u);  // their texts are the rules'
        QVERIFY(rig.Editors.Created == 0 && rig.TakePauses().empty());
        window.Wizard()->CancelButton()->click();
        QTRY_VERIFY(!window.Wizard());

        // At most one editor shows; the visible one keeps the wizard out.
        rig.Messages.Clear();
        Click(window, NavigationBar::kChangeBasic);
        SettingsEditor* firstBasic = window.BasicDialog();
        Click(window, NavigationBar::kChangeAdvanced);
        QVERIFY(firstBasic && !firstBasic->isVisible() && window.AdvancedDialog()->isVisible());
        Click(window, NavigationBar::kSelectInterface);
        QVERIFY(!window.Wizard());
        Click(window, NavigationBar::kChangeBasic);  // a new one replaces the hidden one
        QVERIFY(window.BasicDialog() != firstBasic && !window.AdvancedDialog()->isVisible());
        Click(window, NavigationBar::kSelectInterface);
        QCOMPARE(rig.Messages.Notices.size(), 2u);

        // An editor that closes itself goes; a hidden one keeps nothing out.
        window.BasicDialog()->Button(SettingsEditor::kClose)->click();
        QTRY_VERIFY(!window.BasicDialog());
        Click(window, NavigationBar::kSelectInterface);
        QVERIFY(window.Wizard() && window.Wizard()->isVisible());
        QCOMPARE(rig.Editors.Created, 3);
        QVERIFY(rig.Messages.Messages.empty());
    }

    void withoutAReaderToTakeTheButtonsOpenTheWizardSayingWhy() {
        struct Case {
            Strings readers;
            NavigationBar::Button button;
            const char* reason;
        };
        const Case cases[] = {
            {{"usb-hid", "usb-hid"},
             NavigationBar::kCheckSettings,
             "Several readers are attached: choose the one to use."},
            {{}, NavigationBar::kChangeBasic, "No reader was found: plug one in."},
            {{"usb-hid"},  // it does not answer
             NavigationBar::kChangeAdvanced,
             "The reader attached did not answer: check it, then choose it."},
        };
        for (const Case& c : cases) {
            AppRig rig(c.readers);
            if (!c.readers.empty())
                rig.Machine.Reader(0).SetFault(SimulatedFault::Nak);
            MainWindow window(rig.Link, rig.Messages, rig.Editors);
            if (c.button == NavigationBar::kCheckSettings)
                QCOMPARE(CheckSettings(window), QString());
            else
                Click(window, c.button);
            QVERIFY(window.Wizard() && !rig.Link.IsConnected());
            QCOMPARE(window.Wizard()->StatusLine()->text(), QString::fromLatin1(c.reason));
            QVERIFY(rig.Editors.Created == 0 && rig.Messages.Messages.empty());
        }

        // Once the user has chosen the reader, what they asked for goes on; CANCEL stops it.
        for (const bool chosen : {false, true}) {
            SavePreferences(Preferences{});
            AppRig rig({"usb-hid", "usb-hid"});
            MainWindow window(rig.Link, rig.Messages, rig.Editors);
            window.show();
            Click(window, NavigationBar::kChangeBasic);
            QVERIFY(window.Wizard());
            (chosen ? window.Wizard()->ContinueButton() : window.Wizard()->CancelButton())->click();
            QTRY_VERIFY(!window.Wizard());
            QApplication::processEvents();
            QCOMPARE(window.BasicDialog() != nullptr, chosen);
            QCOMPARE(rig.Editors.Created, chosen ? 1 : 0);
        }
    }

    void theReportAndReopenReadTheReaderAgainOrSayWhyNot() {
        AppRig rig({"usb-hid,firmware=V4.30"});
        MainWindow window(rig.Link, rig.Messages, rig.Editors);
        QVERIFY(!CheckSettings(window).isEmpty());  // connects the only reader first
        rig.Machine.Reader(0).Settings().Terminator = 'X';
        QVERIFY(CheckSettings(window).contains(QStringLiteral("Terminator: X\n")));
        // Latin-1 shown as such; copied and saved as plain text.
        SettingsReportDialog dialog("Track Separator: \xA7\r\nTerminator: \\cr\r\n");
        const QString shown = QString::fromUtf8("Track Separator: \xC2\xA7\nTerminator: \\cr\n");
        QCOMPARE(dialog.ShownText(), shown);
        dialog.CopyButton()->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), shown);
        QTemporaryDir folder;
        QString chosen = folder.filePath(QStringLiteral("report.txt"));
        dialog.SetSaveChooser([&chosen](QWidget*) { return chosen; });
        dialog.SaveButton()->click();
        QFile saved(chosen);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(saved.readAll()), shown);
        QString complaint;
        chosen = folder.filePath(QStringLiteral("missing/report.txt"));
        OnNextModal([&complaint](QWidget* modal) {
            complaint = qobject_cast<MessageDialog*>(modal)->Text();
            modal->close();
        });
        dialog.SaveButton()->click();
        QVERIFY2(complaint.startsWith(QStringLiteral("Could not save the report to ")),
                 qPrintable(complaint));

        // A reader back after its reset is reopened, and the advanced editor told.
        window.ChangeAdvancedSettings();
        SettingsEditor* advanced = window.AdvancedDialog();
        window.ReopenReader();
        QCOMPARE(rig.Messages.Messages, Strings{"Success to re-open the device."});
        QVERIFY(rig.Link.IsConnected() && window.AdvancedDialog() == advanced);
        QCOMPARE(rig.Editors.Reopened, std::vector<SettingsEditor*>{advanced});

        // The report's failures are the shell's (tested there). A reader that stays away
        // after its reset: the editor closes, the wizard opens.
        rig.Messages.Clear();
        rig.Machine.Reader(0).SetFault(SimulatedFault::PortBusy);
        window.ReopenReader();
        QCOMPARE(rig.Messages.Messages,
                 Strings{"Warning: fail to re-open the device. please try it from \"Select "
                         "Interface\" windows."});
        QCOMPARE(rig.Editors.Reopened.size(), std::size_t{1});
        QVERIFY(!window.AdvancedDialog() && window.Wizard());
    }

    void theRememberedReaderStaysUntilAnotherIsChosenOrConnected() {
        // A reader remembered from an earlier run that is not attached now.
        QSettings().setValue(QStringLiteral("Settings/InterfaceType"), 4);
        QSettings().setValue(QStringLiteral("Settings/DeviceIndex"), 2);
        AppRig rig({"usb-hid-kb,firmware=V3.31", "usb-hid,firmware=V4.30"});
        {
            MainWindow window(rig.Link, rig.Messages, rig.Editors);
            QCOMPARE((std::pair{rig.Link.InterfaceType, rig.Link.DeviceIndex}), (std::pair{4, 2}));
            // The wizard probes both readers; cancelling it chooses neither.
            window.SelectReaderInterface();
            window.Wizard()->CancelButton()->click();
            QTRY_VERIFY(!window.Wizard());
            // The remembered reader cannot be opened and two others are attached.
            Click(window, NavigationBar::kChangeBasic);
            QVERIFY(window.Wizard() && !rig.Link.IsConnected());
            window.Wizard()->CancelButton()->click();
        }
        QCOMPARE(Remembered(), (std::pair{4, 2}));
        // A stored value that is not a number counts as absent.
        QSettings().setValue(QStringLiteral("Settings/DeviceIndex"), QStringLiteral("two"));
        QCOMPARE(LoadPreferences().DeviceIndex, -1);
        QSettings().setValue(QStringLiteral("Settings/DeviceIndex"), 2);

        {
            MainWindow window(rig.Link, rig.Messages, rig.Editors);
            window.SelectReaderInterface();
            window.Wizard()->DeviceCombo()->setCurrentIndex(0);  // the keyboard reader
            window.Wizard()->ContinueButton()->click();
            QTRY_VERIFY(!window.Wizard());
        }
        QCOMPARE(Remembered(), (std::pair{3, 0}));
    }
};

RAVELFIN_GUI_TEST(MainWindowTest);
#include "main_window_test.moc"
