#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
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

using namespace ravelfin;
using namespace ravelfin::testing;

// What a mode, a slot, a field number or a refusal means is the data-editing rules' (tested
// there); these tests are about the controls reaching the record, and only on OK.
class DataEditingTest : public QObject {
    Q_OBJECT

  private slots:
    void thePageWritesTheModeAndItsButtonsWorkOnTheRecord() {
        ReaderSettings settings;
        settings.addedFields = {{'A'}};
        settings.formulas = {Bytes{0x20}, Bytes{0x21}, Bytes{0x22}, Bytes{0x00}};
        RecordingMessenger messages;
        DataEditingPage page([&settings] { return &settings; }, 3.1, messages);
        page.show();
        QVERIFY(Named(&page, "Disable")->isChecked() && !page.FormulaList()->isEnabled());
        Named(&page, "Enable")->click();
        QCOMPARE(settings.mode, '1');
        Named(&page, "Unmatched")->click();
        QCOMPARE(settings.mode, '3');
        Named(&page, "Disable")->click();
        QCOMPARE(settings.mode, '0');
        Named(&page, "Enable")->click();  // the method still shown is the one written
        QCOMPARE(settings.mode, '3');
        // Enter and Esc leave the page alone.
        QTest::keyClick(&page, Qt::Key_Escape);
        QTest::keyClick(&page, Qt::Key_Return);
        QVERIFY(page.isVisible());

        Named(&page, "Delete Formula")->click();  // nothing selected
        QCOMPARE(page.FormulaList()->count(), 4);
        page.FormulaList()->setCurrentRow(1);
        Named(&page, "Delete Formula")->click();
        QVERIFY(settings.formulas[kSlotDmvOrCustom2].empty());
        QCOMPARE(page.FormulaList()->count(), 3);
        // "New Field" looks at the stored formulas only: the Custom formula uses a.
        OnNextDialog([](QWidget* modal) {
            auto* dialog = qobject_cast<NewFieldDialog*>(modal);
            QVERIFY(dialog);
            dialog->FieldsList()->setCurrentRow(0);
            Named(dialog, "Delete")->click();
        });
        Named(&page, "New Field")->click();
        QCOMPARE(messages.Messages, Strings{"Cannot delete an Added field been currently used."});
        Named(&page, "Clear All")->click();
        QCOMPARE(page.FormulaList()->count(), 0);
        Named(&page, "Default")->click();
        QCOMPARE(settings.mode, '0');
        QVERIFY(Named(&page, "Disable")->isChecked());
    }

    void aFormulaBuiltInItsEditorIsWhatTheRecordGetsOnOk() {
        ReaderSettings settings;
        settings.mode = '1';
        settings.addedFields = {{'#'}};
        settings.formulas[kSlotDmvOrCustom2] = {0x48};
        RecordingMessenger messages;
        DataEditingPage page([&settings] { return &settings; }, 3.1, messages);
        page.show();
        Named(&page, "Track1")->click();  // unchecked: its list is filled but cannot be used
        OnNextDialog([](QWidget* modal) {
            auto* editor = qobject_cast<CatalogueFormulaEditor*>(modal);
            QVERIFY(editor);
            QVERIFY(!editor->TrackList(1)->isEnabled());
            Choose(editor->TrackList(2), 8);
            Choose(editor->TrackList(2), 1);
            Choose(editor->AddedFieldList(), 0);
            QCOMPARE(editor->WorkingSequence(), (Bytes{0x48, 0x41, 0x00}));
            Named(editor, "OK")->click();
        });
        Named(&page, "Add Formula")->click();
        QCOMPARE(settings.formulas[kSlotCreditCard], (Bytes{0x48, 0x41, 0x00}));

        // "Edit Formula" starts from the stored formula; "Cancel" drops the changes.
        page.FormulaList()->setCurrentRow(0);
        OnNextDialog([](QWidget* modal) {
            auto* editor = qobject_cast<CatalogueFormulaEditor*>(modal);
            QCOMPARE(editor->SequenceText(), QStringLiteral("212b0a"));
            Named(editor, "Clear Seq.")->click();
            Named(editor, "Cancel")->click();
        });
        Named(&page, "Edit Formula")->click();
        QCOMPARE(settings.formulas[kSlotCreditCard], (Bytes{0x48, 0x41, 0x00}));

        // Which tracks a card offers is the rules'; the boxes follow the card chosen.
        QVERIFY(!Named(&page, "Track3")->isEnabled());
        Named(&page, "CDL")->click();
        QVERIFY(Named(&page, "Track3")->isEnabled());

        // From 3.32 on the second slot's "Add Formula" opens the customized-card editor, on
        // the stored formula spelled by that slot's table.
        page.SetFirmwareVersion(3.32);
        page.Refresh();
        Named(&page, "Custom2")->click();
        QString shown;
        OnNextDialog([&shown](QWidget* editor) {
            if (auto* custom2 = qobject_cast<CustomCardFormulaEditor*>(editor))
                shown = custom2->SequenceText();
        });
        Named(&page, "Add Formula")->click();
        QCOMPARE(shown, QStringLiteral("20"));
    }

    // The added fields a formula editor makes are kept even when its sequence is cancelled.
    void theAddedFieldsDialogWritesOnOkAndItsFieldsOutliveTheEditorsCancel() {
        ReaderSettings settings;
        settings.formulas[kSlotAamva] = {0x20};
        settings.formulas[kSlotCreditCard] = Bytes(128, 0x20);  // room for two more codes
        RecordingMessenger messages;
        CatalogueFormulaEditor editor(CardCatalogue::kAamva, settings, {true, false, true},
                                      messages, nullptr);
        OnNextDialog([&settings](QWidget* modal) {
            auto* dialog = qobject_cast<NewFieldDialog*>(modal);
            QVERIFY(dialog);
            for (char c = 'X'; c <= 'Y'; ++c) {
                QTest::keyClicks(dialog->FieldBox(), QString(QChar(c)));
                dialog->FieldBox()->InsertCode(0x02);
                Named(dialog, "Add")->click();
            }
            dialog->FieldsList()->setCurrentRow(0);  // the later fields move up a letter
            Named(dialog, "Delete")->click();
            QVERIFY(settings.addedFields.empty());  // nothing written before "OK"
            Named(dialog, "OK")->click();
        });
        Named(&editor, "New Added Fields")->click();
        QCOMPARE(settings.addedFields, (std::vector<Bytes>{{'Y', 0x02}}));
        Choose(editor.AddedFieldList(), 0);
        QCOMPARE(editor.SequenceText(), QStringLiteral("1a0a"));  // from the stored formula
        OnNextDialog([](QWidget* modal) {  // the unsaved sequence uses the field
            auto* dialog = qobject_cast<NewFieldDialog*>(modal);
            dialog->FieldsList()->setCurrentRow(0);
            Named(dialog, "Delete")->click();
        });
        Named(&editor, "New Added Fields")->click();
        Choose(editor.TrackList(3), 0);
        QCOMPARE(editor.SequenceText(), QStringLiteral("1a0a"));
        QCOMPARE(messages.Messages, (Strings{"Cannot delete an Added field been currently used.",
                                             "Only 130 items can be added for Send Command."}));
        Named(&editor, "Cancel")->click();
        QCOMPARE(settings.addedFields, (std::vector<Bytes>{{'Y', 0x02}}));
        QCOMPARE(settings.formulas[kSlotAamva], Bytes{0x20});
    }

    // The boxes follow the kind; a field the stored formula uses stays; OK writes the second
    // custom card's record.
    void theSecondCustomCardsFieldsDialogFollowsItsKindAndItsFormula() {
        ReaderSettings settings;
        settings.formulas[kSlotDmvOrCustom2] = {0x20};  // uses field a
        RecordingMessenger messages;
        CustomizedFieldsDialog dialog(settings, Bytes{}, true, messages, nullptr);
        dialog.KindButton(CustomFieldKind::kAmong)->click();
        const auto& among = dialog.Boxes(CustomFieldKind::kAmong);
        QVERIFY(among[5]->isEnabled());
        dialog.KindButton(CustomFieldKind::kBefore)->click();
        QVERIFY(!among[5]->isEnabled());
        const auto& before = dialog.Boxes(CustomFieldKind::kBefore);
        QTest::keyClicks(before[0], "2");
        QTest::keyClicks(before[1], "ID");
        dialog.TrackChoice()->setCurrentIndex(0);
        Named(&dialog, "Add")->click();
        Named(&dialog, "Add")->click();
        dialog.FieldsList()->setCurrentRow(0);
        Named(&dialog, "Delete")->click();
        QCOMPARE(messages.Messages, Strings{"Cannot delete a Custom field been currently used."});
        Named(&dialog, "OK")->click();
        QCOMPARE(settings.custom2.fields.size(), 2u);
        QVERIFY(settings.custom.fields.empty());
    }

    void aCustomFormulaWritesItsFieldsLimitsAndMatchStringsOnOk() {
        ReaderSettings settings;
        settings.custom.lengthLimits[1] = {0xF0, 0x40, 5, 9};
        settings.custom.matchStrings[2] = {0xF1, 0x60, 3, 2, 'A', 'B'};
        RecordingMessenger messages;
        CustomCardFormulaEditor editor(false, settings, messages, nullptr);
        OnNextDialog([&settings](QWidget* modal) {
            auto* fields = qobject_cast<CustomizedFieldsDialog*>(modal);
            QVERIFY(fields);
            fields->KindButton(CustomFieldKind::kBefore)->click();
            fields->TrackChoice()->setCurrentIndex(1);
            const auto& boxes = fields->Boxes(CustomFieldKind::kBefore);
            QTest::keyClicks(boxes[0], "2");
            QTest::keyClicks(boxes[1], "ID");
            Named(fields, "Add")->click();
            QVERIFY(settings.custom.fields.empty());
            Named(fields, "OK")->click();
        });
        editor.NewCustomFieldButton()->click();
        QCOMPARE(settings.custom.fields, (std::vector<Bytes>{{0xF2, 0x40, 0x02, 0x02, 'I', 'D'}}));
        QVERIFY(settings.custom2.fields.empty());
        Choose(editor.CustomFieldList(), 0);

        const auto& limit = editor.LengthLimit();
        const auto& match = editor.MatchString();
        QTest::keyClicks(limit.first, "12");  // no track chosen: stored nowhere
        QCOMPARE(limit.records, settings.custom.lengthLimits);
        limit.track->setCurrentIndex(1);
        QCOMPARE(limit.first->text() + "/" + limit.second->text(), QStringLiteral("5/9"));
        limit.track->setCurrentIndex(0);
        QTest::keyClicks(limit.first, "123");
        QTest::keyClicks(limit.second, "300");
        match.track->setCurrentIndex(2);
        QTest::keyClick(match.second, Qt::Key_Backspace);
        Named(&editor, "OK")->click();
        QCOMPARE(settings.formulas[kSlotCustom], (Bytes{0x40}));
        QCOMPARE(settings.custom.lengthLimits,
                 (std::array<Bytes, 3>{Bytes{0xF0, 0x20, 123, 44}, Bytes{0xF0, 0x40, 5, 9}, {}}));
        QCOMPARE(settings.custom.matchStrings[2], (Bytes{0xF1, 0x60, 3, 1, 'A'}));

        // "ClearAll" empties every track of its group, but only "OK" writes it.
        CustomCardFormulaEditor again(false, settings, messages, nullptr);
        again.LengthLimit().clearAll->click();
        QCOMPARE(again.LengthLimit().records, (std::array<Bytes, 3>{}));
        Named(&again, "Cancel")->click();
        QCOMPARE(settings.custom.lengthLimits[1], (Bytes{0xF0, 0x40, 5, 9}));
    }
};

RAVELFIN_GUI_TEST(DataEditingTest);
#include "data_editing_test.moc"
