#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include "app/support/gui_test_support.h"
#include "app/support/named_controls.h"
#include "controls/char_name_list.h"
#include "controls/data_files.h"
#include "controls/help_topics.h"
#include "controls/help_window.h"
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

void Choose(FieldList* list, int row) {
    list->setCurrentRow(row);
    QTest::keyClick(list, Qt::Key_Enter);
}

void OnNextDialog(std::function<void(QWidget*)> action) {
    OnNextModal([action = std::move(action)](QWidget* modal) {
        action(modal);
        if (modal->isVisible())
            modal->close();
    });
}

// Every control a user can act on is reached by Tab and has a name, and every line of a
// list is read out as shown.
void CheckAccessible(QWidget* dialog) {
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QComboBox*>(w) || qobject_cast<QListWidget*>(w) ||
                             qobject_cast<QPlainTextEdit*>(w);
        if (!control || qobject_cast<QLineEdit*>(w->parentWidget()))
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        // On Linux a drop-down's accessible name is its value; its caption comes from the
        // label it is the buddy of.
        const QString name =
            qobject_cast<QComboBox*>(w) ? w->accessibleName() : face->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), w->metaObject()->className());
        // Tab stops once in a group of radio buttons, at the one chosen.
        const auto* radio = qobject_cast<QRadioButton*>(w);
        QVERIFY2(w->focusPolicy() & Qt::TabFocus || (radio && !radio->isChecked()),
                 qPrintable(face->text(QAccessible::Name)));
        if (auto* list = qobject_cast<QListWidget*>(w); list && list->count() > 0) {
            QCOMPARE(face->child(0)->text(QAccessible::Name), list->item(0)->text());
        }
    }
}

// The names of the controls Tab visits once round `root`, starting at the one named `first`.
QStringList TabChain(QWidget* root, const QString& first) {
    QStringList names;
    for (QWidget* w = root->nextInFocusChain(); w != root; w = w->nextInFocusChain()) {
        // A drop-down reads out its value as its name here; its caption is its label's.
        if ((w->focusPolicy() & Qt::TabFocus) && w->window() == root->window())
            names << (w->accessibleName().isEmpty()
                          ? QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name)
                          : w->accessibleName());
    }
    const qsizetype at = std::max<qsizetype>(0, names.indexOf(first));
    return names.mid(at) + names.mid(0, at);
}

}  // namespace

class FormulaDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void newFieldDialogRefusesAndWritesOnlyOnOk() {
        ReaderSettings settings;
        settings.addedFields = {{'A'}, {'B'}};
        const Bytes working{0x01};  // the editor's sequence uses field b
        RecordingMessenger messages;
        NewFieldDialog dialog(settings, &working, messages, nullptr);
        QCOMPARE(dialog.CharacterList()->count(), 111);
        QTest::keyClick(dialog.CharacterList(), Qt::Key_Down);  // opens the list, picks nothing
        dialog.CharacterList()->hidePopup();
        QVERIFY(dialog.FieldBox()->Value().empty());
        QCOMPARE(Lines(dialog.FieldsList()), (QStringList{"(0a)A", "(0b)B"}));
        Named(&dialog, "Add")->click();
        QCOMPARE(messages.Messages, Strings{"Please input invalid field."});
        Named(&dialog, "Delete")->click();  // nothing selected
        dialog.FieldsList()->setCurrentRow(0);
        Named(&dialog, "Delete")->click();  // a would take b's place
        QCOMPARE(messages.Messages.back(), "Cannot delete an Added field been currently used.");
        QCOMPARE(dialog.WorkingFields().size(), 2u);
        messages.Clear();

        for (char c = 'C'; c <= 'H'; ++c) {
            QTest::keyClicks(dialog.FieldBox(), QString(QChar(c)));
            dialog.FieldBox()->InsertCode(0x02);
            Named(&dialog, "Add")->click();
            QVERIFY(dialog.FieldBox()->Value().empty());
        }
        QCOMPARE(dialog.FieldsList()->item(7)->text(), QStringLiteral("(0h)H\\stx"));
        QTest::keyClicks(dialog.FieldBox(), "I");
        Named(&dialog, "Add")->click();
        QCOMPARE(messages.Messages, Strings{"Only 8 added field can be set!"});
        QCOMPARE(dialog.WorkingFields().size(), 8u);
        QVERIFY(settings.addedFields.size() == 2);  // nothing written before "OK"

        // Deleting c moves the later fields up a letter.
        dialog.FieldsList()->setCurrentRow(2);
        Named(&dialog, "Delete")->click();
        QCOMPARE(dialog.FieldsList()->item(2)->text(), QStringLiteral("(0c)D\\stx"));
        CheckAccessible(&dialog);
        Named(&dialog, "OK")->click();
        QCOMPARE(settings.addedFields.size(), 7u);
        QCOMPARE(settings.addedFields[2], (Bytes{'D', 0x02}));
    }

    void editorCancelKeepsNewFieldsButDropsTheSequence() {
        ReaderSettings settings;
        settings.formulas[kSlotAamva] = {0x20};
        settings.formulas[kSlotCreditCard] = Bytes(127, 0x20);  // room for two more codes
        RecordingMessenger messages;
        CatalogueFormulaEditor editor(CardCatalogue::kAamva, settings, {true, false, true},
                                      messages, nullptr);
        QCOMPARE(editor.windowTitle(), QStringLiteral("AAMVA Sent Sequence(Formula)"));
        QVERIFY(editor.TrackList(1)->isEnabled() && editor.TrackList(3)->isEnabled());
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
        CheckAccessible(&editor);
        Named(&editor, "Cancel")->click();
        QCOMPARE(settings.addedFields, std::vector<Bytes>{{'X'}});
        QCOMPARE(settings.formulas[kSlotAamva], Bytes{0x20});
    }

    void customizedFieldsByKindNumberedAcrossTracksAndRenumbered() {
        ReaderSettings settings;
        settings.formulas[kSlotDmvOrCustom2] = {0x62};  // Custom2 uses field c
        RecordingMessenger messages;
        const Bytes working;
        CustomizedFieldsDialog dialog(settings, working, true, messages, nullptr);
        QCOMPARE(dialog.Kind(), CustomFieldKind::kBefore);
        auto enabledBoxes = [&dialog] {
            int on = 0;
            for (auto kind : {CustomFieldKind::kBefore, CustomFieldKind::kBetween,
                              CustomFieldKind::kAfter, CustomFieldKind::kAmong}) {
                for (QLineEdit* box : dialog.Boxes(kind))
                    on += box->isEnabled() ? 1 : 0;
            }
            return on;
        };
        QCOMPARE(enabledBoxes(), 2);
        QVERIFY(dialog.Boxes(CustomFieldKind::kBefore)[0]->isEnabled());
        dialog.KindButton(CustomFieldKind::kAmong)->click();
        QCOMPARE(enabledBoxes(), 6);
        QVERIFY(dialog.Boxes(CustomFieldKind::kAmong)[5]->isEnabled());
        const auto& among = dialog.Boxes(CustomFieldKind::kAmong);
        QTest::keyClicks(among[0], "x1");  // digits only
        QCOMPARE(among[0]->text(), QStringLiteral("1"));
        QTest::keyClicks(among[1], "A");
        QTest::keyClicks(among[2], "2");
        QTest::keyClicks(among[3], "B");
        QTest::keyClicks(among[5], "4");
        Named(&dialog, "Add")->click();  // "Offset" is empty
        QCOMPARE(messages.Messages, Strings{"Please input valid value in the field."});
        QVERIFY(dialog.WorkingFields().empty());
        dialog.KindButton(CustomFieldKind::kBefore)->click();
        QCOMPARE(enabledBoxes(), 2);

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
        QCOMPARE(dialog.NewFieldNumber()->currentText(), QStringLiteral("d"));
        QVERIFY(!dialog.NewFieldNumber()->isEnabled());

        messages.Clear();
        dialog.FieldsList()->setCurrentRow(1);
        Named(&dialog, "Delete")->click();  // c, used by the stored formula, would become b
        QCOMPARE(messages.Messages, Strings{"Cannot delete a Custom field been currently used."});
        QCOMPARE(dialog.WorkingFields().size(), 3u);
        settings.formulas[kSlotDmvOrCustom2].clear();
        Named(&dialog, "Delete")->click();
        QCOMPARE(Lines(dialog.FieldsList()),
                 (QStringList{"(1a)Before: \"ID\"(44)", "(3b)Before: \"ID\"(44)"}));
        QCOMPARE(dialog.WorkingFields()[1][1], 0x61);
        QCOMPARE(dialog.NewFieldNumber()->currentText(), QStringLiteral("c"));

        while (dialog.WorkingFields().size() < 12)
            Named(&dialog, "Add")->click();
        messages.Clear();
        Named(&dialog, "Add")->click();
        QCOMPARE(messages.Messages, Strings{"Only 12 flexible field can be set!"});
        QCOMPARE(dialog.WorkingFields().size(), 12u);
        CheckAccessible(&dialog);
        QVERIFY(settings.custom2.fields.empty());
        Named(&dialog, "OK")->click();
        QCOMPARE(settings.custom2.fields.size(), 12u);
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
        QCOMPARE(limit.track->currentIndex(), -1);
        QTest::keyClicks(limit.first, "12");  // no track chosen: stored nowhere
        QCOMPARE(limit.records, settings.custom.lengthLimits);
        limit.track->setCurrentIndex(1);
        QCOMPARE(limit.first->text() + "/" + limit.second->text(), QStringLiteral("5/9"));
        limit.track->setCurrentIndex(0);
        QCOMPARE(limit.first->text() + limit.second->text(), QString());
        QTest::keyClicks(limit.first, "1234");  // three digits at most
        QCOMPARE(limit.first->text(), QStringLiteral("123"));
        QVERIFY(limit.records[0].empty());  // both boxes are needed
        QTest::keyClicks(limit.second, "300");
        QCOMPARE(limit.records[0], (Bytes{0xF0, 0x20, 123, 44}));
        match.track->setCurrentIndex(2);
        QCOMPARE(match.first->text() + "/" + match.second->text(), QStringLiteral("3/AB"));
        QTest::keyClick(match.second, Qt::Key_Backspace);
        QCOMPARE(match.records[2], (Bytes{0xF1, 0x60, 3, 1, 'A'}));

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
        CheckAccessible(&editor);
        QCOMPARE(
            TabChain(&editor, "Customized Fields:"),
            (QStringList{"Customized Fields:", "Added Fields:", "<= New Custom Field",
                         "New Added Fields=>>", "Send Sequence:", "Clear Sequence", "OK", "Cancel",
                         "Length Limit Track No.", "Min", "Max", "Length Limit ClearAll",
                         "Match String Track No.", "Offset", "String:", "Match String ClearAll"}));
        Named(&editor, "OK")->click();
        QCOMPARE(settings.custom.lengthLimits[0], (Bytes{0xF0, 0x20, 123, 44}));
        QCOMPARE(settings.custom.lengthLimits[1], (Bytes{0xF0, 0x40, 5, 9}));
        QCOMPARE(settings.custom.matchStrings[2], (Bytes{0xF1, 0x60, 3, 1, 'A'}));

        // "ClearAll" empties every track of its group, but only "OK" writes it.
        CustomCardFormulaEditor again(false, settings, messages, nullptr);
        again.LengthLimit().track->setCurrentIndex(1);
        again.LengthLimit().clearAll->click();
        QCOMPARE(again.LengthLimit().track->currentIndex(), -1);
        QCOMPARE(again.LengthLimit().first->text(), QString());
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
        CheckAccessible(&page);
        const QStringList chain = TabChain(&page, "Enable");
        QVERIFY(chain.indexOf("Unmatched") < chain.indexOf("Credit Card"));
        QVERIFY(chain.indexOf("Track3") < chain.indexOf("Formula:"));
        QCOMPARE(chain.indexOf("Add Formula"), chain.indexOf("Formula:") + 1);
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

        Named(&page, "Clear All")->click();
        QCOMPARE(page.FormulaList()->count(), 0);
        QVERIFY(settings.custom.fields.empty());
        QCOMPARE(settings.custom.lengthLimits[0], (Bytes{0xF0, 0x20, 1, 2}));
        QCOMPARE(settings.addedFields.size(), 1u);
        Named(&page, "Default")->click();
        QCOMPARE(settings.mode, '0');
        QVERIFY(settings.addedFields.empty() && settings.custom.lengthLimits[0].empty());
        QVERIFY(Named(&page, "Disable")->isChecked());

        OverrideDataFolders({QStringLiteral(RAVELFIN_RESOURCES_DIR)});
        Named(&page, "Help")->click();
        QVERIFY(CurrentHelpWindow());
        QCOMPARE(CurrentHelpWindow()->CurrentPage(), HelpFileForContext(kHelpDataEditing));
        delete CurrentHelpWindow();
        OverrideDataFolders({});
    }
};

RAVELFIN_GUI_TEST(FormulaDialogsTest);
#include "formula_dialogs_test.moc"
