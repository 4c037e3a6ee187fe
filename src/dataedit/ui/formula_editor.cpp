#include "dataedit/ui/formula_editor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "connection/messenger.h"
#include "controls/scrolling_body.h"
#include "dataedit/field_code.h"
#include "dataedit/formula.h"
#include "dataedit/ui/field_list.h"
#include "dataedit/ui/latin1_text.h"
#include "dataedit/ui/new_field_dialog.h"
#include "protocol/char_names.h"

namespace ravelfin {

FormulaEditor::FormulaEditor(DataEditSettings& settings, std::size_t slot, int textTable,
                             const Captions& captions, Messenger& messenger, QWidget* parent)
    : SkinnedDialog(parent),
      settings_(settings),
      messenger_(messenger),
      sequenceBox_(new QPlainTextEdit(this)),
      addedList_(new FieldList(captions.addedFields, this)),
      clearButton_(new QPushButton(captions.clearSequence, this)),
      newAddedButton_(new QPushButton(captions.newAddedFields, this)),
      okButton_(new QPushButton(QStringLiteral("OK"), this)),
      cancelButton_(new QPushButton(QStringLiteral("Cancel"), this)),
      body_(ScrollingBody(*this, CenteredButtonRow({okButton_, cancelButton_}))),
      slot_(slot),
      textTable_(textTable),
      working_(settings.formulas[slot]) {
    setWindowTitle(captions.title);
    setModal(true);
    sequenceBox_->setReadOnly(true);
    sequenceBox_->setTabChangesFocus(true);
    okButton_->setDefault(true);
    connect(addedList_, &FieldList::Chosen, this,
            [this](int row) { Append(MakeFieldCode(0, row)); });
    connect(clearButton_, &QPushButton::clicked, this, [this] {
        working_.clear();
        ShowSequence();
    });
    connect(newAddedButton_, &QPushButton::clicked, this, &FormulaEditor::OpenNewField);
    connect(okButton_, &QPushButton::clicked, this, &FormulaEditor::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &FormulaEditor::reject);
    FillAddedFields();
    ShowSequence();
}

QString FormulaEditor::SequenceText() const {
    return sequenceBox_->toPlainText();
}

void FormulaEditor::accept() {
    settings_.formulas[slot_] = working_;
    WriteBack();
    SkinnedDialog::accept();
}

void FormulaEditor::Append(std::uint8_t code) {
    if (!AppendFormulaCode(settings_, static_cast<int>(slot_), working_, code)) {
        messenger_.ShowMessage(TooManyFormulaItemsMessage());
        return;
    }
    ShowSequence();
}

void FormulaEditor::ShowSequence() {
    sequenceBox_->setPlainText(Latin1Text(FormatFormulaText(working_, textTable_)));
}

void FormulaEditor::FillAddedFields() {
    addedList_->SetLines(AddedFieldLines(settings_.addedFields));
}

void FormulaEditor::OpenNewField() {
    NewFieldDialog dialog(settings_, &working_, messenger_, this);
    if (dialog.exec() == QDialog::Accepted)
        FillAddedFields();
}

void FormulaEditor::AddSequence(const QString& sequenceLabel) {
    QVBoxLayout& layout = Body();
    auto* label = new QLabel(sequenceLabel);
    sequenceBox_->setAccessibleName(label->text());
    sequenceBox_->setFixedHeight(60);
    auto* row = new QHBoxLayout;
    row->addWidget(sequenceBox_, 1);
    row->addWidget(clearButton_);
    layout.addWidget(label);
    layout.addLayout(row);
}

}  // namespace ravelfin
