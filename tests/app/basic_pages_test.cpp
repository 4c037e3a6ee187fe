#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "app/main_window.h"
#include "app/settings_editors.h"
#include "app/support/basic_editor_rig.h"
#include "basic/general_settings_page.h"
#include "basic/keyboard_settings_page.h"
#include "basic/pre_postamble_page.h"
#include "basic/track_settings_page.h"
#include "controls/data_files.h"
#include "controls/help_topics.h"
#include "controls/help_window.h"
#include "controls/key_sequence_edit.h"
#include "report/ui/settings_report_dialog.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {

QString AccessibleName(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(QAccessible::Name) : QStringLiteral("<none>");
}

// The widgets Tab visits on the current page, in order, from its first control.
QList<QWidget*> TabOrder(BasicSettingsDialog& dialog) {
    QWidget* page = dialog.CurrentPage();
    dialog.Tabs()->tabBar()->setFocus(Qt::TabFocusReason);
    QList<QWidget*> visited;
    for (int step = 0; step < 80; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        if (!focused || !page->isAncestorOf(focused))
            break;
        visited << focused;
    }
    return visited;
}

}  // namespace

class BasicPagesTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { OverrideDataFolders({QStringLiteral(RAVELFIN_RESOURCES_DIR)}); }
    void cleanup() {
        OverrideDataFolders({});
        delete CurrentHelpWindow();
    }

    void firmwareInterfaceAndSecurityLevelShapeThePages() {
        for (const auto& [firmware, quick] : {std::pair{"V3.31", false}, {"V3.32", true}}) {
            OpenEditor editor(std::string("usb-hid,firmware=") + firmware);
            RadioGroup& beep = *editor.dialog->GeneralPage()->Beep();
            QCOMPARE(beep.Button(GeneralSettingsPage::kQuickHigh)->isEnabled(), quick);
            QCOMPARE(beep.Button(GeneralSettingsPage::kQuickLow)->isEnabled(), quick);
            QCOMPARE(beep.Button(GeneralSettingsPage::kBeepHigh)->text(), QStringLiteral("HIGH"));
            if (!quick) {  // a choice that cannot be changed back is no stop for the keyboard
                editor.Record().BeepVolume = '3';
                editor.dialog->GeneralPage()->Refresh();
                QVERIFY(QTest::qWaitForWindowActive(editor.dialog.get()));
                QCOMPARE(TabOrder(*editor.dialog).value(0), beep.Button(0));
            }
            // Below 4.0 only track 2 lacks a 6-bit start sentinel.
            EditableGrid& grid = *editor.dialog->PrePostPage()->Sentinels();
            QCOMPARE(grid.item(1, 2)->text(), QStringLiteral("INVALID"));
            QVERIFY(!grid.BeginEdit(1, 2));
            QCOMPARE(grid.item(1, 1)->text(), QStringLiteral("%"));
            // A USB HID reader has no keyboard settings.
            KeyboardSettingsPage& keyboard = *editor.dialog->KeyboardPage();
            QVERIFY(!keyboard.Language()->isEnabled() && !keyboard.FunctionKeys()->isEnabled() &&
                    !keyboard.PollInterval()->isEnabled());
            QVERIFY(editor.dialog->TrackPage()->isEnabled());
        }

        OpenEditor at43("usb-hid,firmware=V4.30");
        GeneralSettingsPage& general = *at43.dialog->GeneralPage();
        RadioGroup& beep = *general.Beep();
        at43.Record().BeepMode = 4;
        at43.Record().BeepVolume = '1';
        general.Refresh();
        QCOMPARE(beep.Index(), 1);
        QCOMPARE(beep.Button(1)->text(), QStringLiteral("Bad"));
        QCOMPARE(beep.Button(2)->text(), QStringLiteral("Good"));
        QCOMPARE(beep.Button(3)->text(), QStringLiteral("BadGood"));
        QVERIFY(beep.Button(GeneralSettingsPage::kQuickLow)->isHidden());
        QSignalSpy chosen(&beep, &RadioGroup::Chosen);
        beep.SetIndex(2);  // the program's own choice stores nothing
        QCOMPARE(chosen.count(), 0);
        QCOMPARE(at43.Record().BeepMode, 4);
        Choose(&beep, 3);
        QCOMPARE(at43.Record().BeepMode, 6);
        Choose(&beep, 0);
        QCOMPARE(at43.Record().BeepMode, 0);
        QCOMPARE(at43.Record().BeepVolume, '1');
        Choose(general.MsrReading(), 0);
        Choose(general.DecodingMethod(), 0);
        general.DefaultPageButton()->click();
        QCOMPARE(beep.Index(), 2);  // "Good"
        QCOMPARE(general.MsrReading()->Index(), 1);
        QCOMPARE(general.DecodingMethod()->Index(), 1);
        QCOMPARE(at43.Record().MsrReading, '1');
        EditableGrid& grid = *at43.dialog->PrePostPage()->Sentinels();
        for (int column = 1; column <= 3; ++column) {
            QCOMPARE(grid.item(1, column)->text(), QStringLiteral("INVALID"));
            QVERIFY(!grid.BeginEdit(1, column));
        }

        // Security level 3 locks the track framing of a secure reader; preamble and
        // postamble stay open. At 4.25 the reader is no secure model yet.
        OpenEditor secure("usb-hid,firmware=V4.26,security-level=3");
        PrePostamblePage& prePost = *secure.dialog->PrePostPage();
        QVERIFY(!prePost.Sentinels()->isEnabled());
        for (int box = PrePostamblePage::kTrack1Prefix; box <= PrePostamblePage::kTrack3Suffix;
             ++box) {
            const ByteStringRow& row = prePost.Row(static_cast<PrePostamblePage::Box>(box));
            QVERIFY(!row.Box->isEnabled() && !row.List->isEnabled());
        }
        for (auto box : {PrePostamblePage::kPreamble, PrePostamblePage::kPostamble})
            QVERIFY(prePost.Row(box).Box->isEnabled() && prePost.Row(box).List->isEnabled());
        QVERIFY(!secure.dialog->TrackPage()->isEnabled());
    }

    void typedValuesAreCheckedAsTheyAreTyped() {
        OpenEditor editor("usb-hid-kb,firmware=V4.20");
        BasicSettingsDialog& dialog = *editor.dialog;
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.Tabs()->setCurrentIndex(1);
        PrePostamblePage& prePost = *dialog.PrePostPage();

        // A sentinel is one character of the reader's 8-bit set.
        for (const QString& typed : {QStringLiteral("ab"), QStringLiteral("\u20AC")}) {
            editor.rig.Messages.Clear();
            EditCell(prePost.Sentinels(), 0, 1, typed);
            QCOMPARE(editor.rig.Messages.Messages,
                     Strings{"You should input one valid character!"});
            QCOMPARE(editor.Record().Track1StartSentinel7, '%');
            QCOMPARE(prePost.Sentinels()->item(0, 1)->text(), QStringLiteral("%"));
        }

        // Ctrl+Tab in a byte-string box switches tabs and types nothing.
        KeySequenceEdit& suffix = *prePost.Row(PrePostamblePage::kTrack1Suffix).Box;
        suffix.setFocus();
        QTest::keyClick(&suffix, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(dialog.Tabs()->currentIndex(), 2);
        QVERIFY(editor.Record().Track1Suffix.empty());
        dialog.Tabs()->setCurrentIndex(1);

        // Six bytes for a track, fifteen for the preamble.
        editor.rig.Messages.Clear();
        KeySequenceEdit& prefix = *prePost.Row(PrePostamblePage::kTrack1Prefix).Box;
        prefix.setFocus();
        QTest::keyClicks(&prefix, "1234567");
        QCOMPARE(editor.Record().Track1Prefix, BytesFromText("123456"));
        KeySequenceEdit& preamble = *prePost.Row(PrePostamblePage::kPreamble).Box;
        preamble.setFocus();
        QTest::keyClicks(&preamble, "abcdefghijklmnop");
        QCOMPARE(editor.Record().Preamble, BytesFromText("abcdefghijklmno"));
        QCOMPARE(editor.rig.Messages.Messages,
                 (Strings{"Exceed the maximum range.", "Exceed the maximum range."}));
        prePost.DefaultPageButton()->click();
        QVERIFY(prefix.Value().empty() && preamble.Value().empty());
        QVERIFY(editor.Record().Track1Prefix.empty() && editor.Record().Preamble.empty());
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
        QTest::keyClicks(&separator, "xy");  // one byte: the second replaces the first
        QCOMPARE(editor.Record().TrackSeparator, 'y');
        track.DefaultPageButton()->click();
        QCOMPARE(editor.Record().SendOptions, '1');  // the Alt bit goes too
        QVERIFY(track.FlagBox(TrackSettingsPage::kSendSentinels)->isChecked());
        QCOMPARE(separator.Value(), Bytes{0x0D});

        // The polling interval: out of range or empty says the range and becomes 1.
        dialog.Tabs()->setCurrentIndex(3);
        KeyboardSettingsPage& keyboard = *dialog.KeyboardPage();
        QLineEdit& interval = *keyboard.PollInterval();
        editor.rig.Messages.Clear();
        interval.setFocus();
        interval.selectAll();
        QTest::keyClicks(&interval, "256");
        QCOMPARE(interval.text(), QStringLiteral("1"));
        QCOMPARE(editor.Record().KbPollInterval, 1);
        interval.selectAll();
        QTest::keyClicks(&interval, "255");
        QCOMPARE(editor.Record().KbPollInterval, 255);
        QTest::keyClick(&interval, Qt::Key_Backspace);
        QCOMPARE(editor.Record().KbPollInterval, 25);
        interval.selectAll();
        QTest::keyClick(&interval, Qt::Key_Delete);
        QCOMPARE(interval.text(), QStringLiteral("1"));
        const Strings range(2, KeyboardSettingsPage::kPollIntervalRangeText);
        QCOMPARE(editor.rig.Messages.Messages, range);

        // Arrow keys choose within a group; the page's defaults undo the choices.
        keyboard.Language()->Button(0)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(editor.Record().KeyboardLanguage, '1');
        Choose(keyboard.FunctionKeys(), 1);
        keyboard.DefaultPageButton()->click();
        QCOMPARE(keyboard.Language()->Index(), 0);
        QCOMPARE(keyboard.FunctionKeys()->Index(), 0);
        QCOMPARE(interval.text(), QStringLiteral("1"));
    }

    void everyControlIsNamedAndTheKeyboardReachesItInReadingOrder() {
        OpenEditor editor("usb-hid-kb,firmware=V3.50");
        BasicSettingsDialog& dialog = *editor.dialog;
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTabBar& tabs = *dialog.Tabs()->tabBar();
        QAccessibleInterface* tabList = QAccessible::queryAccessibleInterface(&tabs);
        QStringList tabNames;
        for (int i = 0; i < tabList->childCount(); ++i)
            tabNames << tabList->child(i)->text(QAccessible::Name);
        QCOMPARE(
            tabNames.mid(0, 4),  // the scroll buttons follow
            (QStringList{QStringLiteral("General Settings"), QStringLiteral("Pre/Postamble"),
                         QStringLiteral("Track Settings"), QStringLiteral("Keyboard Settings")}));

        PrePostamblePage& prePost = *dialog.PrePostPage();
        QCOMPARE(AccessibleName(prePost.Row(PrePostamblePage::kTrack1Prefix).Box),
                 QStringLiteral("Track 1 Prefix"));
        QCOMPARE(AccessibleName(prePost.Row(PrePostamblePage::kPreamble).Box),
                 QStringLiteral("Preamble"));
        QCOMPARE(AccessibleName(prePost.Row(PrePostamblePage::kPreamble).List),
                 QStringLiteral("Preamble Non-Printable Characters"));
        QCOMPARE(AccessibleName(dialog.TrackPage()->Separator().Box),
                 QStringLiteral("Track Separator:"));
        QCOMPARE(AccessibleName(dialog.KeyboardPage()->PollInterval()),
                 QString::fromLatin1(KeyboardSettingsPage::kPollIntervalCaption));
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(prePost.Sentinels());
        QAccessibleTableInterface* table = grid->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->cellAt(3, 2)->text(QAccessible::Name),
                 QStringLiteral("End Sentinel, Track 2"));

        // Tab walks each page top to bottom, left to right, and every stop has a name.
        for (int page = 0; page < 4; ++page) {
            dialog.Tabs()->setCurrentIndex(page);
            QWidget* shown = dialog.CurrentPage();
            const QList<QWidget*> order = TabOrder(dialog);
            QVERIFY2(order.size() >= 3, qPrintable(tabs.tabText(page)));
            QPoint last(-1, -1);
            for (QWidget* stop : order) {
                QVERIFY2(!AccessibleName(stop).isEmpty(), stop->metaObject()->className());
                if (auto* radio = qobject_cast<QRadioButton*>(stop))  // a group's choice
                    QVERIFY2(radio->isChecked(), qPrintable(radio->text()));
                const QPoint at = stop->mapTo(shown, QPoint());
                const bool later = at.y() > last.y() + 4 ||
                                   (std::abs(at.y() - last.y()) <= 4 && at.x() > last.x());
                QVERIFY2(later, qPrintable(AccessibleName(stop) + " on " + tabs.tabText(page)));
                last = at;
            }
            QCOMPARE(order.back(), static_cast<BasicPage*>(shown)->HelpButton());
        }
    }

    void helpOpensEachPagesTopicAndTheReportRefreshesThePages() {
        AppRig rig({"usb-hid-kb,firmware=V4.20"});
        ScriptedFileChooser files;
        SettingsEditors editors(rig.Link, rig.Messages, files);
        MainWindow window(rig.Link, rig.Messages, editors);
        window.show();
        window.ChangeBasicSettings();
        auto* dialog = qobject_cast<BasicSettingsDialog*>(window.BasicDialog());
        QVERIFY(dialog);
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

        // The report reads the reader into the record; the pages follow it.
        Choose(dialog->TrackPage()->TrackSelect(), 5);
        QCOMPARE(rig.Link.Settings->TrackSelect, '5');
        OnNextModal([](QWidget* modal) { modal->close(); });
        window.CheckCurrentSettings();
        QCOMPARE(rig.Link.Settings->TrackSelect, '0');
        QCOMPARE(dialog->TrackPage()->TrackSelect()->Index(), 0);
    }
};

RAVELFIN_GUI_TEST(BasicPagesTest);
#include "basic_pages_test.moc"
