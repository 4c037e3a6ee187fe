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

namespace {

void DoubleClick(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}


}  // namespace

class DataEditingTest : public QObject {
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
        // Which controls the mode switches is the rules'; one on each side shows it reaches
        // the page.
        QVERIFY(!Named(&page, "Add Formula")->isEnabled() && !page.FormulaList()->isEnabled());
        QCOMPARE(Lines(page.FormulaList()), QStringList{"Credit Card: 1a1b2a"});
        Named(&page, "Enable")->click();
        QCOMPARE(settings.mode, '1');
        QVERIFY(Named(&page, "Unmatched")->isEnabled() && Named(&page, "Default")->isEnabled());
        Named(&page, "Unmatched")->click();
        QCOMPARE(settings.mode, '3');
        Named(&page, "Disable")->click();
        QCOMPARE(settings.mode, '0');
        QVERIFY(Named(&page, "Unmatched")->isChecked());
        Named(&page, "Enable")->click();  // the method still shown is the one written
        QCOMPARE(settings.mode, '3');

        // Enter and Esc leave the page alone.
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
        // Which tracks a card offers is the rules'; the boxes follow, and the ticks stay.
        QVERIFY(!Named(&page, "Track3")->isEnabled());
        Named(&page, "CDL")->click();
        QVERIFY(Named(&page, "Track3")->isEnabled());
        QCOMPARE(Lines(page.FormulaList()), QStringList{"DMV: 20"});
        page.SetFirmwareVersion(3.32);
        page.Refresh();
        Named(&page, "Custom2")->click();
        QVERIFY(!Named(&page, "Track1")->isEnabled());
        QCOMPARE(page.TrackSelected(), (std::array<bool, 3>{true, true, false}));
        QCOMPARE(Lines(page.FormulaList()), QStringList{"Custom2: 20"});
        // "Add Formula" on the second slot opens the customized-card editor from 3.32 on.
        QString shown;
        OnNextDialog([&shown](QWidget* editor) {
            // Starts from the stored formula, spelled by the second slot's table.
            if (auto* custom2 = qobject_cast<CustomCardFormulaEditor*>(editor))
                shown = custom2->SequenceText();
        });
        Named(&page, "Add Formula")->click();
        QCOMPARE(shown, QStringLiteral("20"));
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
            QVERIFY(!editor->TrackList(1)->isEnabled());
            FieldList* track2 = editor->TrackList(2);
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
        QCOMPARE(settings.addedFields, std::vector<Bytes>{{'#'}});

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
        QCOMPARE(settings.addedFields, (std::vector<Bytes>{{'Z', 0x0D}}));
        QCOMPARE(settings.custom.fields, (std::vector<Bytes>{{0xF2, 0x40, 0x02, 0x02, 'I', 'D'}}));
        QCOMPARE(settings.custom.lengthLimits[0], (Bytes{0xF0, 0x20, 10, 20}));
    }

    void newFieldDialogRefusesAndWritesOnlyOnOk() {
        ReaderSettings settings;
        settings.addedFields = {{'A'}, {'B'}};
        const Bytes working{0x01};  // the editor's sequence uses field b
        RecordingMessenger messages;
        NewFieldDialog dialog(settings, &working, messages, nullptr);
        dialog.FieldsList()->setCurrentRow(0);
        Named(&dialog, "Delete")->click();  // a would take b's place
        QCOMPARE(messages.Messages, Strings{"Cannot delete an Added field been currently used."});
        QCOMPARE(dialog.WorkingFields().size(), 2u);

        for (char c = 'C'; c <= 'D'; ++c) {
            QTest::keyClicks(dialog.FieldBox(), QString(QChar(c)));
            dialog.FieldBox()->InsertCode(0x02);
            Named(&dialog, "Add")->click();
            QVERIFY(dialog.FieldBox()->Value().empty());
        }
        QCOMPARE(Lines(dialog.FieldsList()),
                 (QStringList{"(0a)A", "(0b)B", "(0c)C\\stx", "(0d)D\\stx"}));
        QVERIFY(settings.addedFields.size() == 2);  // nothing written before "OK"
        dialog.FieldsList()->setCurrentRow(2);  // c: the later fields move up a letter
        Named(&dialog, "Delete")->click();
        QCOMPARE(dialog.FieldsList()->item(2)->text(), QStringLiteral("(0c)D\\stx"));
        Named(&dialog, "OK")->click();
        QCOMPARE(settings.addedFields.size(), 3u);
        QCOMPARE(settings.addedFields[2], (Bytes{'D', 0x02}));
    }

    void editorCancelKeepsNewFieldsButDropsTheSequence() {
        ReaderSettings settings;
        settings.formulas[kSlotAamva] = {0x20};
        settings.formulas[kSlotCreditCard] = Bytes(127, 0x20);  // room for two more codes
        RecordingMessenger messages;
        CatalogueFormulaEditor editor(CardCatalogue::kAamva, settings, {true, false, true},
                                      messages, nullptr);
        QVERIFY(!editor.TrackList(2)->isEnabled());
        Choose(editor.TrackList(1), 7);
        QCOMPARE(editor.SequenceText(), QStringLiteral("1a10"));
        OnNextDialog([](QWidget* modal) {
            auto* dialog = qobject_cast<NewFieldDialog*>(modal);
            QVERIFY(dialog);
            QTest::keyClicks(dialog->FieldBox(), "X");
            Named(dialog, "Add")->click();
            Named(dialog, "OK")->click();
        });
        Named(&editor, "New Added Fields")->click();
        QCOMPARE(Lines(editor.AddedFieldList()), QStringList{"(0a)X"});
        Choose(editor.AddedFieldList(), 0);
        QCOMPARE(editor.SequenceText(), QStringLiteral("1a100a"));
        Choose(editor.TrackList(3), 0);
        QCOMPARE(messages.Messages, Strings{"Only 130 items can be added for Send Command."});
        QCOMPARE(editor.SequenceText(), QStringLiteral("1a100a"));
        Named(&editor, "Cancel")->click();
        QCOMPARE(settings.addedFields, std::vector<Bytes>{{'X'}});
        QCOMPARE(settings.formulas[kSlotAamva], Bytes{0x20});
    }

    // Which boxes a kind needs, the numbering and the refusals are the rules' (tested there);
    // the dialog must follow them and write only on OK, to the second custom card's record.
    void customizedFieldsByKindNumberedAcrossTracksAndRenumbered() {
        ReaderSettings settings;
        settings.formulas[kSlotDmvOrCustom2] = {0x62};  // Custom2 uses field c
        RecordingMessenger messages;
        const Bytes working;
        CustomizedFieldsDialog dialog(settings, working, true, messages, nullptr);
        dialog.KindButton(CustomFieldKind::kAmong)->click();
        const auto& among = dialog.Boxes(CustomFieldKind::kAmong);
        QVERIFY(among[5]->isEnabled());

        dialog.KindButton(CustomFieldKind::kBefore)->click();
        QVERIFY(!among[5]->isEnabled());
        const auto& before = dialog.Boxes(CustomFieldKind::kBefore);
        QTest::keyClicks(before[0], "300");
        QTest::keyClicks(before[1], "ID");
        for (int track = 0; track < 3; ++track) {
            dialog.TrackChoice()->setCurrentIndex(track);
            Named(&dialog, "Add")->click();
        }
        QCOMPARE(Lines(dialog.FieldsList()),
                 (QStringList{"(1a)Before: \"ID\"(44)", "(2b)Before: \"ID\"(44)",
                              "(3c)Before: \"ID\"(44)"}));
        messages.Clear();
        dialog.FieldsList()->setCurrentRow(1);
        Named(&dialog, "Delete")->click();  // c, used by the stored formula, would become b
        QCOMPARE(messages.Messages, Strings{"Cannot delete a Custom field been currently used."});
        settings.formulas[kSlotDmvOrCustom2].clear();
        Named(&dialog, "Delete")->click();
        QCOMPARE(Lines(dialog.FieldsList()),
                 (QStringList{"(1a)Before: \"ID\"(44)", "(3b)Before: \"ID\"(44)"}));
        QCOMPARE(dialog.NewFieldNumber()->currentText(), QStringLiteral("c"));
        QVERIFY(settings.custom2.fields.empty());
        Named(&dialog, "OK")->click();
        QCOMPARE(settings.custom2.fields.size(), 2u);
        QVERIFY(settings.custom.fields.empty());
    }

    void lengthLimitAndMatchStringFollowTheChosenTrack() {
        ReaderSettings settings;
        settings.custom.lengthLimits[1] = {0xF0, 0x40, 5, 9};
        settings.custom.matchStrings[2] = {0xF1, 0x60, 3, 2, 'A', 'B'};
        settings.custom.fields = {{0xF2, 0x40, 1, 1, 'x'}};
        settings.formulas[kSlotCustom] = {0x40};
        RecordingMessenger messages;
        CustomCardFormulaEditor editor(false, settings, messages, nullptr);
        const auto& limit = editor.LengthLimit();
        const auto& match = editor.MatchString();
        QTest::keyClicks(limit.first, "12");  // no track chosen: stored nowhere
        QCOMPARE(limit.records, settings.custom.lengthLimits);
        limit.track->setCurrentIndex(1);
        QCOMPARE(limit.first->text() + "/" + limit.second->text(), QStringLiteral("5/9"));
        limit.track->setCurrentIndex(0);
        QCOMPARE(limit.first->text() + limit.second->text(), QString());
        QTest::keyClicks(limit.first, "123");
        QTest::keyClicks(limit.second, "300");
        QCOMPARE(limit.records[0], (Bytes{0xF0, 0x20, 123, 44}));
        match.track->setCurrentIndex(2);
        QCOMPARE(match.first->text() + "/" + match.second->text(), QStringLiteral("3/AB"));
        QTest::keyClick(match.second, Qt::Key_Backspace);

        // The Customized Fields dialog refuses to delete the field the formula uses.
        OnNextDialog([&messages](QWidget* modal) {
            auto* fields = qobject_cast<CustomizedFieldsDialog*>(modal);
            QVERIFY(fields);
            fields->FieldsList()->setCurrentRow(0);
            Named(fields, "Delete")->click();
            QCOMPARE(messages.Messages,
                     Strings{"Cannot delete a Custom field been currently used."});
            Named(fields, "Cancel")->click();
        });
        editor.NewCustomFieldButton()->click();
        QCOMPARE(settings.custom.fields.size(), 1u);
        Named(&editor, "OK")->click();
        QCOMPARE(settings.custom.lengthLimits[0], (Bytes{0xF0, 0x20, 123, 44}));
        QCOMPARE(settings.custom.lengthLimits[1], (Bytes{0xF0, 0x40, 5, 9}));
        QCOMPARE(settings.custom.matchStrings[2], (Bytes{0xF1, 0x60, 3, 1, 'A'}));

        // "ClearAll" empties every track of its group, but only "OK" writes it.
        CustomCardFormulaEditor again(false, settings, messages, nullptr);
        again.LengthLimit().clearAll->click();
        QCOMPARE(again.LengthLimit().records, (std::array<Bytes, 3>{}));
        Named(&again, "Cancel")->click();
        QCOMPARE(settings.custom.lengthLimits[1], (Bytes{0xF0, 0x40, 5, 9}));
    }

    void pageButtonsWorkOnTheRecordDirectly() {
        ReaderSettings settings;
        settings.mode = '1';
        settings.addedFields = {{'A'}};
        settings.custom.fields.assign(5, Bytes{0xF2, 0x20, 1, 1, 'x'});
        settings.custom.lengthLimits[0] = {0xF0, 0x20, 1, 2};
        settings.formulas = {Bytes{0x20}, Bytes{0x21}, Bytes{0x22}, Bytes{0x00}};
        RecordingMessenger messages;
        DataEditingPage page([&settings] { return &settings; }, 3.1, messages);
        QCOMPARE(Lines(page.FormulaList()),
                 (QStringList{"Credit Card: 1a", "DMV: 1b", "AAMVA: 1c", "Custom: 0a"}));
        Named(&page, "Delete Formula")->click();  // nothing selected
        QCOMPARE(page.FormulaList()->count(), 4);
        page.FormulaList()->setCurrentRow(1);
        Named(&page, "Delete Formula")->click();
        QVERIFY(settings.formulas[kSlotDmvOrCustom2].empty());
        QCOMPARE(page.FormulaList()->count(), 3);

        // "New Field" looks at the stored formulas only: the Custom formula uses a.
        OnNextDialog([&messages](QWidget* modal) {
            auto* dialog = qobject_cast<NewFieldDialog*>(modal);
            QVERIFY(dialog);
            dialog->FieldsList()->setCurrentRow(0);
            Named(dialog, "Delete")->click();
            QCOMPARE(messages.Messages,
                     Strings{"Cannot delete an Added field been currently used."});
        });
        Named(&page, "New Field")->click();

        // What "Clear All" and "Default" keep is the rules'; the page shows the result.
        Named(&page, "Clear All")->click();
        QCOMPARE(page.FormulaList()->count(), 0);
        Named(&page, "Default")->click();
        QCOMPARE(settings.mode, '0');
        QVERIFY(Named(&page, "Disable")->isChecked());
    }
};

RAVELFIN_GUI_TEST(DataEditingTest);
#include "data_editing_test.moc"
