#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "app/support/editor_rigs.h"
#include "basic/general_settings_page.h"
#include "basic/keyboard_settings_page.h"
#include "basic/pre_postamble_page.h"
#include "basic/track_settings_page.h"
#include "controls/data_files.h"
#include "controls/help_topics.h"
#include "controls/help_window.h"
#include "controls/key_sequence_edit.h"

using namespace ravelfin;
using namespace ravelfin::testing;

class BasicPagesTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { OverrideDataFolders({QStringLiteral(RAVELFIN_RESOURCES_DIR)}); }
    void cleanup() {
        OverrideDataFolders({});
        delete CurrentHelpWindow();
    }

    // What each firmware, link and security level offers is the rules' (tested there); the
    // pages must follow them.
    void firmwareInterfaceAndSecurityLevelShapeThePages() {
        OpenEditor old("usb-hid,firmware=V3.31");
        QVERIFY(!old.dialog->GeneralPage()
                     ->Beep()
                     ->Button(GeneralSettingsPage::kQuickHigh)
                     ->isEnabled());
        EditableGrid& sentinels = *old.dialog->PrePostPage()->Sentinels();
        QVERIFY(!sentinels.BeginEdit(1, 2));
        QVERIFY(!old.dialog->KeyboardPage()->Language()->isEnabled());  // not a keyboard reader

        // At 4.30 the beep choices write the beep mode; the program's own choice stores nothing.
        OpenEditor at43("usb-hid,firmware=V4.30");
        GeneralSettingsPage& general = *at43.dialog->GeneralPage();
        RadioGroup& beep = *general.Beep();
        at43.Record().BeepMode = 4;
        general.Refresh();
        QCOMPARE(beep.Index(), 1);
        Choose(&beep, 3);
        QCOMPARE(at43.Record().BeepMode, 6);
        general.DefaultPageButton()->click();
        QCOMPARE(beep.Index(), 2);

        // Security level 3 locks the track framing of a secure reader, not the preamble.
        OpenEditor secure("usb-hid,firmware=V4.26,security-level=3");
        PrePostamblePage& prePost = *secure.dialog->PrePostPage();
        QVERIFY(!prePost.Sentinels()->isEnabled());
        QVERIFY(prePost.Row(PrePostamblePage::kPreamble).Box->isEnabled());
        QVERIFY(!secure.dialog->TrackPage()->isEnabled());
    }

    void typedValuesAreCheckedAsTheyAreTyped() {
        OpenEditor editor("usb-hid-kb,firmware=V4.20");
        BasicSettingsDialog& dialog = *editor.dialog;
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.Tabs()->setCurrentIndex(1);
        PrePostamblePage& prePost = *dialog.PrePostPage();

        // A refused sentinel leaves the cell and the record as they were.
        EditCell(prePost.Sentinels(), 0, 1, QStringLiteral("ab"));
        QCOMPARE(editor.rig.Messages.Messages, Strings{"You should input one valid character!"});
        QCOMPARE(editor.Record().Track1StartSentinel7, '%');
        QCOMPARE(prePost.Sentinels()->item(0, 1)->text(), QStringLiteral("%"));

        // Ctrl+Tab in a byte-string box switches tabs and types nothing.
        KeySequenceEdit& suffix = *prePost.Row(PrePostamblePage::kTrack1Suffix).Box;
        suffix.setFocus();
        QTest::keyClick(&suffix, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(dialog.Tabs()->currentIndex(), 2);
        QVERIFY(editor.Record().Track1Suffix.empty());
        dialog.Tabs()->setCurrentIndex(1);

        // A box's limit reaches the record; the page's defaults empty both and keep the focus.
        KeySequenceEdit& prefix = *prePost.Row(PrePostamblePage::kTrack1Prefix).Box;
        prefix.setFocus();
        QTest::keyClicks(&prefix, "1234567");
        QCOMPARE(editor.Record().Track1Prefix, BytesFromText("123456"));
        prePost.DefaultPageButton()->click();
        QVERIFY(prefix.Value().empty() && editor.Record().Track1Prefix.empty());
        QVERIFY(prePost.DefaultPageButton()->hasFocus());

        // A deleted separator is 0; the page's defaults clear the keyboard page's Alt bit too.
        dialog.Tabs()->setCurrentIndex(2);
        TrackSettingsPage& track = *dialog.TrackPage();
        editor.Record().SendOptions = '7' | 8;
        track.Refresh();
        KeySequenceEdit& separator = *track.Separator().Box;
        separator.setFocus();
        QTest::keyClick(&separator, Qt::Key_Backspace);
        QCOMPARE(editor.Record().TrackSeparator, 0);
        track.DefaultPageButton()->click();
        QCOMPARE(editor.Record().SendOptions, '1');
        QCOMPARE(separator.Value(), Bytes{0x0D});

        // The polling interval: out of range says the range and becomes 1.
        dialog.Tabs()->setCurrentIndex(3);
        KeyboardSettingsPage& keyboard = *dialog.KeyboardPage();
        QLineEdit& interval = *keyboard.PollInterval();
        editor.rig.Messages.Clear();
        interval.setFocus();
        interval.selectAll();
        QTest::keyClicks(&interval, "256");
        QCOMPARE(interval.text(), QStringLiteral("1"));
        QCOMPARE(editor.Record().KbPollInterval, 1);
        QCOMPARE(editor.rig.Messages.Messages,
                 Strings{KeyboardSettingsPage::kPollIntervalRangeText});

        // Arrow keys choose within a group.
        keyboard.Language()->Button(0)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(editor.Record().KeyboardLanguage, '1');
    }

    void helpOpensEachPagesTopic() {
        OpenEditor editor("usb-hid-kb,firmware=V4.20");
        BasicSettingsDialog* dialog = editor.dialog.get();
        const std::pair<BasicPage*, int> pages[] = {
            {dialog->GeneralPage(), kHelpGeneralSettings},
            {dialog->PrePostPage(), kHelpPrePostamble},
            {dialog->TrackPage(), kHelpTrackSettings},
            {dialog->KeyboardPage(), kHelpKeyboardSettings}};
        for (const auto& [page, context] : pages) {
            page->HelpButton()->click();
            QVERIFY(CurrentHelpWindow());
            QCOMPARE(CurrentHelpWindow()->CurrentPage(), HelpFileForContext(context));
        }
    }
};

RAVELFIN_GUI_TEST(BasicPagesTest);
#include "basic_pages_test.moc"
