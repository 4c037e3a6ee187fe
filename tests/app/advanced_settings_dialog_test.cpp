#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "advanced/advanced_settings_dialog.h"
#include "advanced/output_format_page.h"
#include "advanced/security_setting_page.h"
#include "app/support/gui_test_support.h"
#include "app/support/recording_boxes.h"
#include "app/support/scripted_file_chooser.h"
#include "flows/flow_messages.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {

constexpr char kWritten[] =
    "The configuration settings have been written to Ravelfin device successfully!";

/// Simulated readers, a connection to the first and the advanced editor's borrowings.
struct AdvancedRig {
    explicit AdvancedRig(const Strings& readers) : app(readers) {
        const auto type = static_cast<int>(app.Machine.Reader(0).InterfaceType());
        if (!app.Link.Connect(type, 0))
            QTest::qFail("cannot connect to the simulated reader", __FILE__, __LINE__);
        app.TakePauses();
    }
    std::unique_ptr<AdvancedSettingsDialog> Open() {
        auto dialog = std::make_unique<AdvancedSettingsDialog>(services, nullptr);
        QObject::connect(dialog.get(), &SettingsEditor::SettingsReread, [this] { ++basicRefreshes; });
        dialog->RefreshAllPages();
        app.TakePauses();
        return dialog;
    }
    ReaderSettings& Record() { return *app.Link.Settings; }
    SimulatedReader& Reader() { return app.Machine.Reader(0); }

    AppRig app;
    RecordingBoxes boxes;
    ScriptedFileChooser files;
    int basicRefreshes = 0;
    AdvancedEditorServices services{app.Link, app.Messages, boxes, files};
};

QStringList Captions(const QTabWidget& tabs) {
    QStringList captions;
    for (int i = 0; i < tabs.count(); ++i)
        captions << tabs.tabText(i);
    return captions;
}

/// What a screen reader calls a control: its name, or for a drop-down list (whose name is
/// its value on Linux) the name of the label it is labelled by.
QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    if (!face)
        return QString();
    if (face->role() == QAccessible::ComboBox) {
        const auto labels = face->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
    }
    return face->text(QAccessible::Name);
}

}  // namespace

class AdvancedSettingsDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void theTabsFollowTheReaderAndTheFlowButtonsTheSettingsTabs() {
        const QString out = QStringLiteral("Output Format"), edit = QStringLiteral("Data Editing"),
                      security = QStringLiteral("Security Setting"),
                      clone = QStringLiteral("Quick Clone"),
                      manual = QStringLiteral("Manual Command"),
                      boot = QStringLiteral("Set Boot Loader Mode");
        const struct {
            const char* reader;
            QStringList tabs;
            int settingsTabs;
        } cases[] = {
            {"usb-hid,pid=4201,firmware=V3.90", {out, edit, clone, manual, boot}, 2},
            {"usb-hid,firmware=V4.30,security-level=3", {out, security, clone, manual}, 2},
            {"usb-hid-kb,firmware=V4.30,security-level=4", {out, security, clone, manual}, 2},
            {"usb-hid-kb,firmware=V4.30,security-level=1", {out, edit, security, clone, manual}, 3},
            {"usb-hid,pid=4205,firmware=V4.00", {out, edit, clone, manual}, 2},
            // Six tabs: the security page of an old secure reader keeps its buttons.
            {"usb-hid,firmware=V3.90", {out, edit, security, clone, manual, boot}, 3},
        };
        for (const auto& c : cases) {
            AdvancedRig rig({c.reader});
            auto dialog = rig.Open();
            QCOMPARE(Captions(*dialog->Tabs()), c.tabs);
            QCOMPARE(dialog->Tabs()->currentIndex(), 0);
            for (int i = c.tabs.size() - 1; i >= 0; --i) {
                dialog->Tabs()->setCurrentIndex(i);
                for (QPushButton* button : {dialog->SendButton(), dialog->SaveButton(),
                                            dialog->LoadButton(), dialog->DefaultButton()})
                    QVERIFY2(button->isEnabled() == (i < c.settingsTabs),
                             qPrintable(QStringLiteral("%1, tab %2").arg(c.reader).arg(i)));
                QVERIFY(dialog->CloseButton()->isEnabled());
            }
        }
    }

    void theOutputFormatMarksEveryChoiceForAReopenUnlessTheFirmwareFixesIt() {
        AdvancedRig rig({"usb-hid,firmware=V4.30"});
        rig.Record().ReconnectPending = 1;  // left by a load in the basic editor
        auto dialog = rig.Open();
        OutputFormatPage& page = *dialog->OutputFormat();
        QCOMPARE(rig.Record().ReconnectPending, 0u);
        QVERIFY(page.HidButton()->isChecked() && page.HidButton()->isEnabled());
        QCOMPARE(page.FormatGroup()->title(),
                 QStringLiteral("USB HID Format: Modifying this setting reset the reader."));

        page.HidButton()->click();  // already selected: still a reset
        QCOMPARE(rig.Record().ReconnectPending, 1u);
        QCOMPARE(rig.Record().HidFormat, '0');
        page.KeyboardButton()->click();
        QCOMPARE(rig.Record().HidFormat, '8');
        rig.Record().HidFormat = '1';  // the optional format has no button
        dialog->RefreshAllPages();
        QVERIFY(!page.HidButton()->isChecked() && !page.KeyboardButton()->isChecked());

        // A reader that does not open, or whose firmware is 1.77 or older, keeps its format.
        for (const char* reader : {"usb-hid,firmware=V4.30", "usb-hid,firmware=V1.77"}) {
            AdvancedRig fixed({reader});
            if (fixed.Reader().Firmware() == "V4.30")
                fixed.Reader().SetFault(SimulatedFault::PortBusy);
            auto other = fixed.Open();
            OutputFormatPage& format = *other->OutputFormat();
            QCOMPARE(format.FormatGroup()->title(),
                     QStringLiteral("USB HID Format: the setting can not be changed in this "
                                    "version reader."));
            QVERIFY(!format.HidButton()->isEnabled() && !format.KeyboardButton()->isEnabled());
            QVERIFY(!format.HidButton()->isChecked() && !format.KeyboardButton()->isChecked());
            QVERIFY(fixed.app.Messages.Messages.empty());
        }
    }

    void aSendWritesTheRecordAndAskForAReopenOnlyWhenTheFormatChanged() {
        AdvancedRig rig({"usb-hid,pid=4201,firmware=V4.30"});
        auto dialog = rig.Open();
        QSignalSpy resets(dialog.get(), &AdvancedSettingsDialog::ReopenRequested);
        QSignalSpy closes(dialog.get(), &SettingsEditor::Closed);
        rig.Record().Terminator = 'T';
        dialog->SendToMsr();
        QCOMPARE(rig.app.Messages.Messages, Strings{kWritten});
        QCOMPARE(rig.Reader().Settings().Terminator, 'T');
        QVERIFY(resets.isEmpty() && closes.isEmpty());

        rig.app.Messages.Clear();
        rig.app.TakePauses();
        dialog->OutputFormat()->KeyboardButton()->click();
        dialog->SendToMsr();
        QCOMPARE(rig.app.Messages.Messages, Strings{kWritten});
        QCOMPARE(rig.app.TakePauses().back(), kReaderResetWaitMs);
        QCOMPARE(resets.size(), 1);
        QVERIFY(closes.isEmpty());  // the editor stays for the reopened reader
        QCOMPARE(rig.Record().ReconnectPending, 0u);
    }

    void theSecurityPageKeepsAValidMaskCharAndOffersTheEncryptionsTheLevelAllows() {
        AdvancedRig rig({"usb-hid,firmware=V4.30,security-level=1"});
        auto dialog = rig.Open();
        SecuritySettingPage& page = *dialog->Security();
        ReaderSettings& record = rig.Record();
        QCOMPARE(page.SerialNumberBox()->text(), QStringLiteral("SN00000001"));
        QCOMPARE(page.SecurityLevelBox()->text(), QStringLiteral("1"));
        QCOMPARE(page.MaskCharBox()->text(), QStringLiteral("*"));

        // One character stays; a second one replaces it with a warning; others are refused.
        page.MaskCharBox()->setText(QStringLiteral("#"));
        QCOMPARE(record.MaskChar, '#');
        page.MaskCharBox()->setCursorPosition(1);
        QTest::keyClicks(page.MaskCharBox(), QStringLiteral("b"));
        QCOMPARE(page.MaskCharBox()->text(), QStringLiteral("b"));
        QCOMPARE(record.MaskChar, 'b');
        QCOMPARE(rig.boxes.Shown, Strings{"Warning|Only one char is allowed!"});
        for (QChar refused : {QChar(u'\t'), QChar(0x7F), QChar(0xE9)}) {
            rig.boxes.Shown.clear();
            page.MaskCharBox()->setText(QString(refused));
            QCOMPARE(rig.boxes.Shown, Strings{"Warning|this MaskChar is invalid!"});
            QCOMPARE(page.MaskCharBox()->text(), QStringLiteral("*"));
            QCOMPARE(record.MaskChar, '*');
        }
        page.MaskCharBox()->setText(QStringLiteral("~"));
        QCOMPARE(record.MaskChar, '~');
        page.MaskCharBox()->clear();  // never stays empty
        QCOMPARE(page.MaskCharBox()->text(), QStringLiteral("*"));
        QCOMPARE(record.MaskChar, '*');

        // The numbers of unmasked digits are the entries' positions.
        page.PrePanBox()->setCurrentIndex(6);
        page.PostPanBox()->setCurrentIndex(5);  // the empty entry
        QCOMPARE(record.PrePan, 6);
        QCOMPARE(record.PostPan, 5);

        // Leaving clear text warns once; the choice is stored either way.
        rig.boxes.Shown.clear();
        QVERIFY(page.ClearTextButton()->isChecked() && page.ClearTextButton()->isEnabled());
        page.AesButton()->click();
        QCOMPARE(record.Encryption, '2');
        page.TripleDesButton()->click();
        QCOMPARE(record.Encryption, '1');
        QCOMPARE(rig.app.Messages.Messages,
                 Strings{"Select this Encryption Type will permanently set reader into encrypted "
                         "mode.\nIt can NOT be set back to non-encrypt mode again."});
        QVERIFY(rig.boxes.Shown.empty());

        // An encrypting record cannot go back; level 4 offers only what is stored.
        dialog->RefreshAllPages();
        QVERIFY(!page.ClearTextButton()->isEnabled() && page.AesButton()->isEnabled());
        record.SecurityLevel = '4';
        dialog->RefreshAllPages();
        QVERIFY(!page.ClearTextButton()->isEnabled() && page.TripleDesButton()->isEnabled() &&
                !page.AesButton()->isEnabled());
        QCOMPARE(page.SecurityLevelBox()->text(), QStringLiteral("4"));

        // "Default Page" at level 3 sets Triple DES.
        record.SecurityLevel = '3';
        record.Encryption = '0';
        page.DefaultButton()->click();
        QCOMPARE(record.Encryption, '1');
        QVERIFY(record.PrePan == 4 && record.PostPan == 4 && record.MaskChar == '*');
        QVERIFY(page.TripleDesButton()->isChecked());
        QCOMPARE(page.PrePanBox()->currentText(), QStringLiteral("4"));

        // A serial number starting with 0xFF or a control character is not shown.
        record.SerialNumber = {10, 0xFF, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I'};
        page.Refresh();
        QCOMPARE(page.SerialNumberBox()->text(), QString());
        record.SerialNumber = {200, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J'};
        page.Refresh();
        QCOMPARE(page.SerialNumberBox()->text(), QStringLiteral("ABCDEFGHIJ"));  // no further

        // A mask character left empty is put back when the box loses the focus.
        rig.boxes.Shown.clear();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->ShowPage(&page);
        record.MaskChar = 0;
        page.Refresh();
        page.MaskCharBox()->setFocus();
        page.PrePanBox()->setFocus();
        QCOMPARE(rig.boxes.Shown, Strings{"Warning|MaskChar cannot be null!"});
        QCOMPARE(record.MaskChar, '*');
    }

    void aSendShowsTheSecurityTheReaderReportsOverEitherLink() {
        for (const char* reader : {"usb-hid,firmware=V4.30,security-level=1",
                                   "usb-hid-kb,firmware=V4.30,security-level=2"}) {
            AdvancedRig rig({reader});
            auto dialog = rig.Open();
            SecuritySettingPage& page = *dialog->Security();
            QVERIFY(page.ClearTextButton()->isEnabled());
            // The reader's own level changed behind the record's back.
            rig.Reader().Settings().SecurityLevel = '4';
            dialog->SendToMsr();
            QCOMPARE(rig.app.Messages.Messages, Strings{kWritten});
            QCOMPARE(page.SecurityLevelBox()->text(), QStringLiteral("4"));
            QVERIFY(page.ClearTextButton()->isEnabled());  // still what the record holds
            QVERIFY(!page.TripleDesButton()->isEnabled() && !page.AesButton()->isEnabled());

            // A byte that names no cipher leaves clear text to a clear-text record; a reader
            // that reports a cipher rules it out.
            rig.Reader().Settings().SecurityLevel = '1';
            rig.Reader().Settings().Encryption = '7';
            dialog->SendToMsr();
            QVERIFY(page.ClearTextButton()->isEnabled());
            rig.Reader().Settings().Encryption = '2';
            dialog->SendToMsr();
            QVERIFY(!page.ClearTextButton()->isEnabled() && page.AesButton()->isEnabled());
        }
    }

    void defaultsFilesAndCloseRefreshBothEditorsAndKeepTheKeysOut() {
        QTemporaryDir folder;
        AdvancedRig rig({"usb-hid,firmware=V4.30,security-level=1"});
        auto dialog = rig.Open();
        QSignalSpy closes(dialog.get(), &SettingsEditor::Closed);
        SecuritySettingPage& page = *dialog->Security();

        // Factory settings go to the reader and come back into both editors.
        page.MaskCharBox()->setText(QStringLiteral("#"));
        dialog->SendToMsr();
        QCOMPARE(rig.Reader().Settings().MaskChar, '#');
        rig.app.Messages.Clear();
        dialog->DefaultAll();
        QCOMPARE(rig.app.Messages.Messages, Strings{kDefaultsSetText});
        QCOMPARE(rig.Record().MaskChar, '*');
        QCOMPARE(page.MaskCharBox()->text(), QStringLiteral("*"));
        QCOMPARE(rig.basicRefreshes, 1);

        // Saved and loaded; a load that changes the format makes the next send reopen.
        rig.app.Messages.Clear();
        dialog->SaveButton()->click();  // cancelled: nothing said
        QVERIFY(rig.app.Messages.Messages.empty());
        const QString file = folder.filePath(QStringLiteral("reader.cfs2"));
        rig.files.Answers = QStringList{file, file};
        dialog->SaveButton()->click();
        rig.Record().HidFormat = '8';
        rig.Record().MaskChar = '+';
        dialog->LoadButton()->click();
        QVERIFY(rig.files.Saves == 2 && rig.files.Opens == 1);
        QCOMPARE(rig.app.Messages.Messages,
                 (Strings{"Save configuration file successfully.",
                          "Load configuration from file successfully."}));
        QCOMPARE(page.MaskCharBox()->text(), QStringLiteral("*"));
        QCOMPARE(rig.Record().ReconnectPending, 1u);
        QCOMPARE(rig.basicRefreshes, 1);  // a load refreshes this editor only

        // Enter and Escape leave the editor open; Close ends it.
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->SendButton()->setFocus();
        rig.app.Messages.Clear();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(dialog->SendButton(), key);
            QTest::keyClick(page.MaskCharBox(), key);
        }
        QVERIFY(dialog->isVisible() && closes.isEmpty() && rig.app.Messages.Messages.empty());
        dialog->CloseButton()->click();
        QCOMPARE(closes.size(), 1);
        QVERIFY(!dialog->isVisible());
    }

    void everyControlIsNamedAfterItsCaptionAndTabFollowsTheLayout() {
        AdvancedRig rig({"usb-hid,firmware=V4.30,security-level=1"});
        auto dialog = rig.Open();
        SecuritySettingPage& page = *dialog->Security();
        const std::pair<QWidget*, const char*> named[] = {
            {page.PrePanBox(), "PrePAN:"},
            {page.PostPanBox(), "PostPAN:"},
            {page.MaskCharBox(), "Mask Char:"},
            {page.SecurityLevelBox(), "Security Level:"},
            {page.SerialNumberBox(), "Device Serial Number:"},
        };
        for (const auto& [widget, name] : named)
            QCOMPARE(AccessibleName(widget), QString::fromLatin1(name));

        // Tab goes from the tabs through the page's controls to the buttons below, in the
        // order they stand.
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        dialog->ShowPage(&page);
        dialog->Tabs()->tabBar()->setFocus();
        QStringList visited;
        for (int i = 0; i < 13; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << AccessibleName(QApplication::focusWidget());
        }
        QCOMPARE(visited, (QStringList{"PrePAN:", "PostPAN:", "Mask Char:", "Clear Text",
                                       "Security Level:", "Device Serial Number:", "Default Page",
                                       "Security Setting Help", "Send to MSR", "Save to File",
                                       "Load from File", "Default All", "Close"}));
    }
};

RAVELFIN_GUI_TEST(AdvancedSettingsDialogTest);
#include "advanced_settings_dialog_test.moc"
