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
#include "app/support/editor_rigs.h"

using namespace ravelfin;
using namespace ravelfin::testing;

class AdvancedSettingsDialogTest : public QObject {
    Q_OBJECT

  private slots:
    // A format choice marks the record for a reopen, unless the firmware fixes the format; a
    // send asks for the reopen only then.
    void theOutputFormatMarksAReopenThatOnlyItsSendAsksFor() {
        ConnectedRig rig({"usb-hid,pid=4201,firmware=V4.30"});
        rig.Record().ReconnectPending = 1;  // left by a load in the basic editor
        auto dialog = rig.Open();
        OutputFormatPage& page = *dialog->OutputFormat();
        QCOMPARE(rig.Record().ReconnectPending, 0u);
        QSignalSpy resets(dialog.get(), &AdvancedSettingsDialog::ReopenRequested);
        QSignalSpy closes(dialog.get(), &SettingsEditor::Closed);
        rig.Record().Terminator = 'T';
        dialog->SendToMsr();
        QCOMPARE(rig.Reader().Settings().Terminator, 'T');
        QVERIFY(resets.isEmpty());

        rig.Record().HidFormat = '1';  // the optional format has no button
        dialog->RefreshAllPages();
        QVERIFY(!page.HidButton()->isChecked() && !page.KeyboardButton()->isChecked());
        page.HidButton()->click();
        QCOMPARE(rig.Record().ReconnectPending, 1u);
        QCOMPARE(rig.Record().HidFormat, '0');
        page.KeyboardButton()->click();
        QCOMPARE(rig.Record().HidFormat, '8');
        dialog->SendToMsr();
        QCOMPARE(resets.size(), 1);
        QVERIFY(closes.isEmpty());  // the editor stays for the reopened reader
        QCOMPARE(rig.Record().ReconnectPending, 0u);

        // A reader that does not open, or whose firmware is 1.77 or older, keeps its format.
        for (const char* reader : {"usb-hid,firmware=V4.30", "usb-hid,firmware=V1.77"}) {
            ConnectedRig fixed({reader});
            if (fixed.Reader().Firmware() == "V4.30")
                fixed.Reader().SetFault(SimulatedFault::PortBusy);
            auto other = fixed.Open();
            OutputFormatPage& format = *other->OutputFormat();
            QVERIFY(!format.HidButton()->isEnabled() && !format.KeyboardButton()->isEnabled());
            QVERIFY(!format.HidButton()->isChecked() && !format.KeyboardButton()->isChecked());
        }
    }

    // What a valid mask character or an allowed cipher is belongs to the rules (tested
    // there); the page keeps the box and the record agreeing and warns as it goes.
    void theSecurityPageKeepsAValidMaskCharAndWarnsBeforeEncrypting() {
        ConnectedRig rig({"usb-hid,firmware=V4.30,security-level=1"});
        auto dialog = rig.Open();
        SecuritySettingPage& page = *dialog->Security();
        ReaderSettings& record = rig.Record();

        // A second character replaces the first with a warning; a refused one puts the
        // default back.
        page.MaskCharBox()->setText(QStringLiteral("#"));
        page.MaskCharBox()->setCursorPosition(1);
        QTest::keyClicks(page.MaskCharBox(), QStringLiteral("b"));
        QCOMPARE(record.MaskChar, 'b');
        page.MaskCharBox()->setText(QString(QChar(0xE9)));
        QCOMPARE(rig.boxes.Shown, (Strings{"Warning|Only one char is allowed!",
                                           "Warning|this MaskChar is invalid!"}));
        QCOMPARE(page.MaskCharBox()->text(), QStringLiteral("*"));
        QCOMPARE(record.MaskChar, '*');
        page.MaskCharBox()->clear();  // an emptied box takes the default too
        QCOMPARE(page.MaskCharBox()->text(), QStringLiteral("*"));
        page.PrePanBox()->setCurrentIndex(6);  // the entry's position is the number
        QCOMPARE(record.PrePan, 6);

        // Leaving clear text warns; the choice is stored; the page then offers no way back.
        page.AesButton()->click();
        QCOMPARE(record.Encryption, '2');
        QCOMPARE(rig.app.Messages.Messages.size(), 1u);
        dialog->RefreshAllPages();
        QVERIFY(!page.ClearTextButton()->isEnabled() && page.AesButton()->isEnabled());
        record.SecurityLevel = '3';  // where "Default Page" sets Triple DES
        record.Encryption = '0';
        page.DefaultButton()->click();
        QVERIFY(record.Encryption == '1' && page.TripleDesButton()->isChecked());

        // A mask character left empty in the record is put back when the box loses the focus.
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

    // The page shows the security the reader reports after a send, over either link.
    void aSendShowsTheSecurityTheReaderReportsOverEitherLink() {
        for (const char* reader : {"usb-hid,firmware=V4.30,security-level=1",
                                   "usb-hid-kb,firmware=V4.30,security-level=2"}) {
            ConnectedRig rig({reader});
            auto dialog = rig.Open();
            SecuritySettingPage& page = *dialog->Security();
            rig.Reader().Settings().SecurityLevel = '1';
            rig.Reader().Settings().Encryption = '2';
            dialog->SendToMsr();
            QVERIFY(!page.ClearTextButton()->isEnabled() && page.AesButton()->isEnabled());
            rig.Reader().Settings().SecurityLevel = '4';
            dialog->SendToMsr();
            QCOMPARE(page.SecurityLevelBox()->text(), QStringLiteral("4"));
        }
    }

    void aLoadShowsTheFileInThisEditorOnlyAndOnlyCloseEndsIt() {
        QTemporaryDir folder;
        ConnectedRig rig({"usb-hid,firmware=V4.30,security-level=1"});
        auto dialog = rig.Open();
        QSignalSpy closes(dialog.get(), &SettingsEditor::Closed);
        QSignalSpy rereads(dialog.get(), &SettingsEditor::SettingsReread);
        SecuritySettingPage& page = *dialog->Security();
        const QString file = folder.filePath(QStringLiteral("reader.cfs2"));
        rig.files.Answers = QStringList{file, file};
        dialog->SaveButton()->click();
        page.MaskCharBox()->setText(QStringLiteral("+"));
        dialog->LoadButton()->click();
        QCOMPARE(page.MaskCharBox()->text(), QStringLiteral("*"));
        QCOMPARE(rig.Record().MaskChar, '*');
        QCOMPARE(rereads.size(), 0);

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
};

RAVELFIN_GUI_TEST(AdvancedSettingsDialogTest);
#include "advanced_settings_dialog_test.moc"
