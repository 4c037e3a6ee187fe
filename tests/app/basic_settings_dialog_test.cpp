#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <fstream>

#include "app/main_window.h"
#include "app/restart_progress.h"
#include "app/settings_editors.h"
#include "app/support/editor_rigs.h"
#include "app/support/gui_test_support.h"
#include "basic/basic_settings_dialog.h"
#include "basic/general_settings_page.h"
#include "basic/keyboard_settings_page.h"
#include "basic/pre_postamble_page.h"
#include "basic/track_settings_page.h"
#include "controls/char_name_list.h"
#include "controls/editable_grid.h"
#include "controls/key_sequence_edit.h"
#include "controls/radio_group.h"
#include "flows/flow_messages.h"
#include "protocol/char_names.h"
#include "shell/editor_connection.h"

using namespace ravelfin;
using namespace ravelfin::testing;

class BasicSettingsDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void aChangeOnEveryPageReachesTheReader() {
        OpenEditor editor("usb-hid-kb,firmware=V4.20");
        BasicSettingsDialog& dialog = *editor.dialog;
        QVERIFY(QTest::qWaitForWindowActive(&dialog));

        Choose(dialog.GeneralPage()->Beep(), GeneralSettingsPage::kBeepLow);
        Choose(dialog.GeneralPage()->DecodingMethod(), 3);
        dialog.Tabs()->setCurrentIndex(1);
        PrePostamblePage& prePost = *dialog.PrePostPage();
        KeySequenceEdit* prefix = prePost.Row(PrePostamblePage::kTrack1Prefix).Box;
        prefix->setFocus();
        QTest::keyClicks(prefix, "AB");
        QTest::keyClick(prefix, Qt::Key_Left);
        Pick(prePost.Row(PrePostamblePage::kTrack1Prefix).List, "\\cr");  // at the caret
        EditCell(prePost.Sentinels(), 0, 3, QStringLiteral("\xA7"));      // track 3 start sentinel
        dialog.Tabs()->setCurrentIndex(2);
        TrackSettingsPage& track = *dialog.TrackPage();
        track.FlagBox(TrackSettingsPage::kErrorIndication)->click();
        Pick(track.Separator().List, "\\tab");  // replaces the separator's one byte
        dialog.Tabs()->setCurrentIndex(3);
        Choose(dialog.KeyboardPage()->Language(), 6);  // German

        dialog.Button(BasicSettingsDialog::kSend)->click();
        QCOMPARE(editor.rig.Messages.Messages, Strings{kWrittenText});
        QVERIFY(editor.FlowPauses().empty());  // no reset: the interval stayed
        const ReaderSettings& reader = editor.InReader();
        QCOMPARE(reader.BeepVolume, '1');
        QCOMPARE(reader.DecodingMethod, '3');
        QCOMPARE(reader.Track1Prefix, (Bytes{'A', 0x0D, 'B'}));
        QCOMPARE(reader.Track3StartSentinel7, 0xA7);
        QCOMPARE(reader.SendOptions, 0x31 | 4);  // error indication added
        QCOMPARE(reader.TrackSeparator, 0x95);   // the Tab key code
        QCOMPARE(reader.KeyboardLanguage, '6');
        QVERIFY(dialog.isVisible());
    }

    void aLoadedFileShowsOnThePagesAndACancelSaysNothing() {
        OpenEditor editor("usb-hid,firmware=V4.20");
        BasicSettingsDialog& dialog = *editor.dialog;
        QTemporaryDir folder;
        const QString first = folder.filePath(QStringLiteral("first.cfs2"));

        const std::size_t framesBefore = editor.rig.Machine.Reader(0).Frames().size();
        editor.Record().Preamble = {0x02, 'P'};
        editor.Record().HidFormat = '0';
        editor.files.Answers = {first};
        dialog.Button(BasicSettingsDialog::kSave)->click();
        QCOMPARE(editor.rig.Messages.Messages, Strings{kBasicSavedText});
        QVERIFY(QFile::exists(first));

        // Edits made after the save are replaced by the file, and the pages show the file.
        Choose(dialog.TrackPage()->TrackSelect(), 4);
        dialog.PrePostPage()->Row(PrePostamblePage::kPreamble).Box->SetBytes({'x'});
        editor.rig.Messages.Clear();
        editor.files.Answers = {first};
        dialog.LoadFromFile();
        QCOMPARE(editor.rig.Messages.Messages, Strings{kLoadedText});
        QCOMPARE(dialog.TrackPage()->TrackSelect()->Index(), 0);
        QCOMPARE(dialog.PrePostPage()->Row(PrePostamblePage::kPreamble).Box->Value(),
                 (Bytes{0x02, 'P'}));
        QVERIFY(!editor.Record().ReconnectPending);  // same HID format

        // A cancelled question says nothing, and nothing talks to the reader.
        editor.rig.Messages.Clear();
        dialog.SaveToFile();
        dialog.LoadFromFile();
        QVERIFY(editor.rig.Messages.Messages.empty());
        QCOMPARE(editor.rig.Machine.Reader(0).Frames().size(), framesBefore);
    }

    void readerResetsCloseOrKeepTheEditorAndTheMainWindowReopensTheReader() {
        EditorWindow w({"usb-hid-kb,firmware=V4.20"});
        AppRig& rig = w.rig;
        MainWindow& window = w.window;
        QVERIFY(QTest::qWaitForWindowActive(&window));

        // A new polling interval on a keyboard reader: the editor closes, then the reader is
        // opened again after its reset.
        window.ChangeBasicSettings();
        QPointer<BasicSettingsDialog> editor =
            qobject_cast<BasicSettingsDialog*>(window.BasicDialog());
        QVERIFY(editor && editor->isVisible());
        editor->Tabs()->setCurrentIndex(3);
        QLineEdit* interval = editor->KeyboardPage()->PollInterval();
        interval->setFocus();
        interval->selectAll();
        QTest::keyClicks(interval, "8");
        rig.TakePauses();
        rig.Messages.Clear();
        QStringList shownWhileReopening;
        bool restarted = false;
        rig.Machine.RecordedPauses().OnWait = [&](int ms) {
            if (restarted)
                shownWhileReopening << RestartProgress::ShownText();
            restarted = restarted || ms == kReaderResetWaitMs;
        };
        editor->Button(BasicSettingsDialog::kSend)->click();
        QTRY_VERIFY(!editor);
        QTRY_COMPARE(rig.Messages.Messages,
                     (Strings{kWrittenText, "Success to re-open the device."}));
        rig.Machine.RecordedPauses().OnWait = nullptr;
        QVERIFY(!shownWhileReopening.isEmpty());
        for (const QString& line : shownWhileReopening)
            QVERIFY2(line.startsWith(QStringLiteral("The reader is restarting: ")),
                     qPrintable(line));
        QVERIFY(RestartProgress::ShownText().isEmpty());  // gone with the restart
        QCOMPARE(rig.Link.Settings->KbPollIntervalRead, 8);

        // Factory settings on a keyboard reader whose interval was not 1 reset it too.
        window.ChangeBasicSettings();
        editor = qobject_cast<BasicSettingsDialog*>(window.BasicDialog());
        rig.Messages.Clear();
        editor->DefaultAll();
        QTRY_VERIFY(!editor);
        QTRY_COMPARE(rig.Messages.Messages,
                     (Strings{kDefaultsSetText, "Success to re-open the device."}));
        QCOMPARE(rig.Link.Settings->KbPollIntervalRead, 1);

        // A loaded file with another HID format: the editor stays, takes the reopened
        // reader's new record and edits that one; the reset happens once. (The simulated
        // reader comes back as a plain USB HID reader.)
        window.ChangeBasicSettings();
        editor = qobject_cast<BasicSettingsDialog*>(window.BasicDialog());
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("optional.cfs2"));
        const std::uint8_t format = rig.Link.Settings->HidFormat;
        rig.Link.Settings->HidFormat = format == '1' ? '0' : '1';
        w.files.Answers = {file, file};
        editor->SaveToFile();
        rig.Link.Settings->HidFormat = format;
        editor->LoadFromFile();
        rig.Messages.Clear();
        QPushButton* send = editor->Button(BasicSettingsDialog::kSend);
        send->setFocus();
        editor->SendToMsr();
        QVERIFY(!editor->isEnabled());  // nothing edits the record that is about to go
        QTRY_COMPARE(rig.Messages.Messages,
                     (Strings{kWrittenText, "Success to re-open the device."}));
        QVERIFY(editor && editor->isVisible() && editor->isEnabled());
        QCOMPARE(editor->window()->focusWidget(), send);  // the keyboard is where it was
        QCOMPARE(rig.Machine.Reader(0).Settings().HidFormat, format == '1' ? '0' : '1');
        Choose(editor->TrackPage()->TrackSelect(), 7);
        QCOMPARE(rig.Link.Settings->TrackSelect, '7');
        rig.Messages.Clear();
        rig.TakePauses();
        editor->SendToMsr();  // the reset happened once
        const std::vector<int> pauses = rig.TakePauses();
        QVERIFY(std::ranges::find(pauses, kReaderResetWaitMs) == pauses.end());
        QCOMPARE(rig.Messages.Messages, Strings{kWrittenText});
        QCOMPARE(rig.Machine.Reader(0).Settings().TrackSelect, '7');
    }
};

RAVELFIN_GUI_TEST(BasicSettingsDialogTest);
#include "basic_settings_dialog_test.moc"
