#include "dataedit/ui/new_field_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "connection/messenger.h"
#include "controls/char_name_list.h"
#include "controls/key_sequence_edit.h"
#include "dataedit/added_fields.h"
#include "dataedit/ui/field_list.h"
#include "dataedit/ui/latin1_text.h"
#include "protocol/char_names.h"

namespace ravelfin {

QStringList AddedFieldLines(const std::vector<Bytes>& fields) {
    QStringList lines;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        lines << QStringLiteral("(0%1)").arg(QChar(u'a' + static_cast<char16_t>(i))) +
                     Latin1Text(BytesToDisplayText(fields[i]));
    }
    return lines;
}

NewFieldDialog::NewFieldDialog(DataEditSettings& settings, const Bytes* workingSequence,
                               Messenger& messenger, QWidget* parent)
    : SkinnedDialog(parent),
      settings_(settings),
      workingSequence_(workingSequence),
      messenger_(messenger),
      fields_(settings.addedFields),
      fieldBox_(new KeySequenceEdit(messenger)),
      characters_(new CharNameList),
      list_(new FieldList(QStringLiteral("Added Fields List: "))) {
    setWindowTitle(QStringLiteral("New Field"));
    setModal(true);

    auto* input = new QGroupBox(QStringLiteral("Input New Field"));
    fieldBox_->SetTextLimit(static_cast<int>(kMaxAddedFieldLength));
    fieldBox_->setAccessibleName(input->title());
    auto* charLabel = new QLabel(QStringLiteral("Non-Printable Char"));
    characters_->setAccessibleName(charLabel->text());
    charLabel->setBuddy(characters_);
    auto* add = new QPushButton(QStringLiteral("Add"));
    auto* inputLayout = new QGridLayout(input);
    inputLayout->addWidget(fieldBox_, 0, 0, 1, 2);
    inputLayout->addWidget(charLabel, 1, 0);
    inputLayout->addWidget(characters_, 1, 1);
    inputLayout->addWidget(add, 2, 1, Qt::AlignRight);

    auto* listLabel = new QLabel(list_->accessibleName());
    auto* del = new QPushButton(QStringLiteral("Delete"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(input);
    layout->addWidget(listLabel);
    layout->addWidget(list_);
    layout->addWidget(del, 0, Qt::AlignRight);
    layout->addLayout(CenteredButtonRow({ok, cancel}));
    list_->setMinimumHeight(140);
    resize(360, 380);

    // A pick inserts its byte where the caret stands; the same name can be picked again.
    connect(characters_, &CharNameList::Picked, this, [this](std::uint8_t code) {
        fieldBox_->InsertCode(code);
        fieldBox_->setFocus();
    });
    connect(add, &QPushButton::clicked, this, &NewFieldDialog::Add);
    connect(del, &QPushButton::clicked, this, &NewFieldDialog::Delete);
    connect(ok, &QPushButton::clicked, this, &NewFieldDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &NewFieldDialog::reject);
    list_->SetLines(AddedFieldLines(fields_));
}

void NewFieldDialog::Add() {
    const AddedFieldResult result = AddAddedField(fields_, fieldBox_->Value());
    if (result != AddedFieldResult::kDone) {
        messenger_.ShowMessage(AddedFieldMessage(result));
        return;
    }
    fieldBox_->Clear();
    list_->SetLines(AddedFieldLines(fields_));
}

void NewFieldDialog::Delete() {
    const int row = list_->currentRow();
    if (row < 0 || !list_->currentItem()->isSelected())
        return;
    const AddedFieldResult result = DeleteAddedField(fields_, row, settings_, workingSequence_);
    if (result == AddedFieldResult::kInUse) {
        messenger_.ShowMessage(AddedFieldMessage(result));
        return;
    }
    list_->SetLines(AddedFieldLines(fields_));
}

void NewFieldDialog::accept() {
    settings_.addedFields = fields_;
    SkinnedDialog::accept();
}

}  // namespace ravelfin
