#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include "app/support/gui_test_support.h"
#include "app/support/named_controls.h"
#include "controls/char_name_list.h"
#include "controls/key_sequence_edit.h"
#include "dataedit/ui/catalogue_formula_editor.h"
#include "dataedit/ui/custom_card_formula_editor.h"
#include "dataedit/ui/customized_fields_dialog.h"
#include "dataedit/ui/data_editing_page.h"
#include "dataedit/ui/field_list.h"
#include "dataedit/ui/new_field_dialog.h"
#include "protocol/reader_settings.h"
#include "protocol/settings_encoder.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {

// Picks a line by keyboard: selects it, then Enter, as a double-click would.
void Choose(FieldList* list, int row) {
    list->setCurrentRow(row);
    QTest::keyClick(list, Qt::Key_Return);
}

void DoubleClick(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// Answers the next modal dialog with `action`; a dialog the action left open (a failed
// check returns early) is closed, so that the test goes on.
void OnNextDialog(std::function<void(QWidget*)> action) {
    OnNextModal([action = std::move(action)](QWidget* modal) {
        action(modal);
        if (modal->isVisible())
            modal->close();
    });
}

Bytes DataEditFrame(const ReaderSettings& settings) {
    std::array<std::uint8_t, 1024> frame{};
    std::size_t length = 0;
    if (!EncodeDataEditFrame(settings, frame, length))
        return {};
    return Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(length));
}

Bytes WithLrc(Bytes frame) {
    std::uint8_t lrc = 0;
    for (std::uint8_t b : frame)
        lrc ^= b;
    frame.push_back(lrc);
    return frame;
}

}  // namespace

class DataEditingPageTest : public QObject {
    Q_OBJECT

  private slots:
    void modeRadiosWriteModeAndSwitchTheDependentControls() {
        ReaderSettings settings;
        settings.FirmwareVersionNumber = 3.4;
        settings.formulas[kSlotCreditCard] = {0x20, 0x21, 0x40};
        RecordingMessenger messages;
        DataEditingPage page([&settings] { return &settings; }, 3.4, messages);
        page.show();
        QVERIFY(Named(&page, "Disable")->isChecked());
        const QStringList dependents{
            "Output Method",  "Matched",   "Unmatched", "Data Format",     "Credit Card",
            "Custom2",        "AAMVA",     "Custom",    "Track Selection", "Track1",
            "Track2",         "Track3",    "New Field", "Add Formula",     "Edit Formula",
            "Delete Formula", "Clear All", "Default"};
        for (const QString& name : dependents)
            QVERIFY2(!Named<QWidget>(&page, name)->isEnabled(), qPrintable(name));
        QVERIFY(!Named<QLabel>(&page, "Formula:")->isEnabled());
        QVERIFY(!page.FormulaList()->isEnabled());
        QCOMPARE(Lines(page.FormulaList()), QStringList{"Credit Card: 1a1b2a"});
        for (const char* name : {"Help", "Enable", "Disable"})
            QVERIFY(Named(&page, name)->isEnabled());

        Named(&page, "Enable")->click();
        QCOMPARE(settings.mode, '1');
        for (const QString& name : dependents.mid(0, 9) + QStringList{"Delete Formula", "Default"})
            QVERIFY2(Named<QWidget>(&page, name)->isEnabled(), qPrintable(name));
        Named(&page, "Unmatched")->click();
        QCOMPARE(settings.mode, '3');
        Named(&page, "Disable")->click();
        QCOMPARE(settings.mode, '0');
        QVERIFY(Named(&page, "Unmatched")->isChecked());
        Named(&page, "Enable")->click();  // the method still shown is the one written
        QCOMPARE(settings.mode, '3');
        Named(&page, "Matched")->click();
        QCOMPARE(settings.mode, '1');

        // The owner's refresh reads the record again; Enter and Esc leave the page alone.
        settings.mode = '3';
        page.Refresh();
        QVERIFY(Named(&page, "Unmatched")->isChecked());
        QTest::keyClick(&page, Qt::Key_Escape);
        QTest::keyClick(&page, Qt::Key_Return);
        QVERIFY(page.isVisible());
    }

    void trackBoxesFollowCardTypeAndFirmware() {
        ReaderSettings settings;
        settings.mode = '1';
        settings.formulas[kSlotDmvOrCustom2] = {0x48};
        RecordingMessenger messages;
        DataEditingPage page([&settings] { return &settings; }, 3.31, messages);
        auto enabled = [&page] {
            QList<bool> on;
            for (const char* t : {"Track1", "Track2", "Track3"})
                on << Named(&page, t)->isEnabled();
            return on;
        };
        QCOMPARE(enabled(), (QList<bool>{true, true, false}));
        QCOMPARE(page.TrackSelected(), (std::array<bool, 3>{true, true, false}));
        Named(&page, "CDL")->click();
        QCOMPARE(enabled(), (QList<bool>{true, true, true}));
        QCOMPARE(Lines(page.FormulaList()), QStringList{"DMV: 20"});

        page.SetFirmwareVersion(3.32);
        page.Refresh();
        QCOMPARE(page.CardType(), std::size_t{kSlotCreditCard});
        Named(&page, "Custom2")->click();
        QCOMPARE(enabled(), (QList<bool>{false, false, false}));
        QCOMPARE(page.TrackSelected(), (std::array<bool, 3>{true, true, false}));  // kept
        QCOMPARE(Lines(page.FormulaList()), QStringList{"Custom2: 20"});
        // "Add Formula" on the second slot opens the customized-card editor from 3.32 on.
        QString title;
        OnNextDialog([&title](QWidget* editor) {
            title = editor->windowTitle();
            auto* custom2 = qobject_cast<CustomCardFormulaEditor*>(editor);
            QVERIFY(custom2);
            // Starts from the stored formula, spelled by the second slot's table.
            QCOMPARE(custom2->SequenceText(), QStringLiteral("20"));
            editor->close();
        });
        Named(&page, "Add Formula")->click();
        QCOMPARE(title, QStringLiteral("Customized Card Sent Sequence(Formula)"));
    }

    void aCreditCardFormulaBuiltInTheEditorIsWhatTheReaderGets() {
        ReaderSettings settings;
        settings.mode = '1';
        settings.FirmwareVersionNumber = 3.1;
        settings.addedFields = {{'#'}};
        RecordingMessenger messages;
        DataEditingPage page([&settings] { return &settings; }, 3.1, messages);
        page.show();
        Named(&page, "Track1")->click();  // unchecked: its list is filled but cannot be used
        OnNextDialog([](QWidget* modal) {
            auto* editor = qobject_cast<CatalogueFormulaEditor*>(modal);
            QVERIFY(editor);
            QCOMPARE(editor->windowTitle(), QStringLiteral("Credit Card Sent Sequence(Formula)"));
            QCOMPARE(editor->TrackList(1)->count(), 12);
            QVERIFY(!editor->TrackList(1)->isEnabled());
            QVERIFY(!editor->TrackList(3));
            FieldList* track2 = editor->TrackList(2);
            QCOMPARE(track2->item(8)->text(), QStringLiteral("(21)Expiration Month(MM)"));
            DoubleClick(track2, 8);
            QCOMPARE(editor->SequenceText(), QStringLiteral("21"));
            Choose(track2, 1);
            Choose(editor->AddedFieldList(), 0);
            QCOMPARE(editor->SequenceText(), QStringLiteral("212b0a"));
            QCOMPARE(editor->WorkingSequence(), (Bytes{0x48, 0x41, 0x00}));
            Named(editor, "OK")->click();
        });
        Named(&page, "Add Formula")->click();
        QCOMPARE(Lines(page.FormulaList()), QStringList{"Credit Card: 212b0a"});
        const Bytes expected =
            WithLrc({0x02, 0x53, 0xFA, 0x09, 0x01, '#',  0,    0,    0,    0,
                     0,    0,    0,    0xFB, 0x00, 0xFC, 0x0C, 0x04, 0xE0, 0x48,
                     0x41, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x03});
        QCOMPARE(DataEditFrame(settings), expected);

        // "Edit Formula" starts from the stored formula; "Cancel" drops the changes.
        page.FormulaList()->setCurrentRow(0);
        OnNextDialog([](QWidget* modal) {
            auto* editor = qobject_cast<CatalogueFormulaEditor*>(modal);
            QCOMPARE(editor->SequenceText(), QStringLiteral("212b0a"));
            Named(editor, "Clear Seq.")->click();
            QCOMPARE(editor->SequenceText(), QString());
            Named(editor, "Cancel")->click();
        });
        Named(&page, "Edit Formula")->click();
        QCOMPARE(settings.formulas[kSlotCreditCard], (Bytes{0x48, 0x41, 0x00}));
    }

    void aCustomFormulaWithACustomAndAnAddedField() {
        ReaderSettings settings;
        settings.mode = '1';
        settings.FirmwareVersionNumber = 3.4;
        RecordingMessenger messages;
        CustomCardFormulaEditor editor(false, settings, messages, nullptr);
        OnNextDialog([](QWidget* modal) {
            auto* fields = qobject_cast<CustomizedFieldsDialog*>(modal);
            QVERIFY(fields);
            fields->TrackChoice()->setCurrentIndex(1);
            const auto& boxes = fields->Boxes(CustomFieldKind::kBefore);
            QTest::keyClicks(boxes[0], "2");
            QTest::keyClicks(boxes[1], "ID");
            Named(fields, "Add")->click();
            Named(fields, "OK")->click();
        });
        editor.NewCustomFieldButton()->click();
        QCOMPARE(Lines(editor.CustomFieldList()), QStringList{"(2a)Before: \"ID\"(2)"});
        OnNextDialog([](QWidget* modal) {
            auto* dialog = qobject_cast<NewFieldDialog*>(modal);
            QVERIFY(dialog);
            QTest::keyClicks(dialog->FieldBox(), "Z");
            dialog->CharacterList()->setCurrentIndex(13);  // "\cr"
            emit dialog->CharacterList()->activated(13);
            Named(dialog, "Add")->click();
            Named(dialog, "OK")->click();
        });
        Named(&editor, "New Added Fields=>>")->click();
        QCOMPARE(Lines(editor.AddedFieldList()), QStringList{"(0a)Z\\cr"});
        Choose(editor.CustomFieldList(), 0);
        Choose(editor.AddedFieldList(), 0);
        QCOMPARE(editor.SequenceText(), QStringLiteral("2a0a"));

        const auto& limit = editor.LengthLimit();
        limit.track->setCurrentIndex(0);
        QTest::keyClicks(limit.first, "10");
        QTest::keyClicks(limit.second, "20");
        Named(&editor, "OK")->click();

        QCOMPARE(settings.formulas[kSlotCustom], (Bytes{0x40, 0x00}));
        const Bytes expected = WithLrc(
            {0x02, 0x53, 0xFA, 0x09, 0x02, 'Z',  0x0D, 0,    0,    0,    0,    0,    0,    0xFB,
             0x0A, 0xF0, 0x20, 10,   20,   0xF2, 0x40, 0x02, 0x02, 'I',  'D',  0xFC, 0x0B, 0x00,
             0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x03, 0xE3, 0x40, 0x00, 0xFF, 0xFD, 0x00, 0x03});
        QCOMPARE(DataEditFrame(settings), expected);
    }
};

RAVELFIN_GUI_TEST(DataEditingPageTest);
#include "data_editing_page_test.moc"
