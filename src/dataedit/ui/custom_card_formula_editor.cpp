#include "dataedit/ui/custom_card_formula_editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "dataedit/custom_card_limits.h"
#include "dataedit/custom_card_records.h"
#include "dataedit/custom_fields.h"
#include "dataedit/ui/customized_fields_dialog.h"
#include "dataedit/ui/field_list.h"
#include "dataedit/ui/latin1_text.h"
#include "dataedit/ui/tab_order.h"

namespace ravelfin {
namespace {

const CustomCardDefinition& CardOf(const DataEditSettings& settings, bool custom2) {
    return custom2 ? settings.custom2 : settings.custom;
}

FormulaEditor::Captions EditorCaptions() {
    return {QStringLiteral("Customized Card Sent Sequence(Formula)"),
            QStringLiteral("Clear Sequence"), QStringLiteral("New Added Fields=>>"),
            QStringLiteral("Added Fields:")};
}

QLineEdit* NumberBox() {
    auto* box = new QLineEdit;
    box->setMaxLength(3);
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    box->setMaximumWidth(60);
    return box;
}

}  // namespace

CustomCardFormulaEditor::CustomCardFormulaEditor(bool custom2, DataEditSettings& settings,
                                                 Messenger& messenger, QWidget* parent)
    : FormulaEditor(settings, CustomFormulaSlot(custom2),
                    static_cast<int>(CustomFormulaSlot(custom2)), EditorCaptions(), messenger,
                    parent),
      custom2_(custom2),
      customList_(new FieldList(QStringLiteral("Customized Fields:"))),
      newCustomButton_(new QPushButton(QStringLiteral("<= New Custom Field"))) {
    length_.records = CardOf(settings, custom2).lengthLimits;
    match_.records = CardOf(settings, custom2).matchStrings;

    auto* limits = new QHBoxLayout;
    limits->addWidget(MakeRecordGroup(length_, QStringLiteral("Length Limit"),
                                      QStringLiteral("Min"), QStringLiteral("Max"), true));
    limits->addWidget(MakeRecordGroup(match_, QStringLiteral("Match String"),
                                      QStringLiteral("Offset"), QStringLiteral("String:"), false));

    auto* customColumn = new QVBoxLayout;
    customColumn->addWidget(new QLabel(customList_->accessibleName()));
    customColumn->addWidget(customList_);
    auto* addedColumn = new QVBoxLayout;
    addedColumn->addWidget(new QLabel(addedList_->accessibleName()));
    addedColumn->addWidget(addedList_);
    auto* lists = new QGridLayout;
    lists->addLayout(customColumn, 0, 0);
    lists->addLayout(addedColumn, 0, 1);
    lists->addWidget(newCustomButton_, 1, 0, Qt::AlignLeft);
    lists->addWidget(newAddedButton_, 1, 1, Qt::AlignRight);
    lists->setColumnStretch(0, 3);
    lists->setColumnStretch(1, 2);

    QVBoxLayout* layout = &Body();
    layout->addLayout(limits);
    layout->addLayout(lists, 1);
    layout->addWidget(new QLabel(QStringLiteral(
        "Double click to select one field.(each includs TrackNo. and FieldNo. Such as \"1a\")")));
    AddSequence(QStringLiteral("Send Sequence:"));
    resize(760, 560);

    const QList<QWidget*> order{length_.track, length_.first, length_.second,   length_.clearAll,
                                match_.track,  match_.first,  match_.second,    match_.clearAll,
                                customList_,   addedList_,    newCustomButton_, newAddedButton_,
                                sequenceBox_,  clearButton_,  okButton_,        cancelButton_};
    ChainTabOrder(order);

    connect(customList_, &FieldList::Chosen, this, [this](int row) {
        const auto& fields = CardOf(settings_, custom2_).fields;
        if (row >= 0 && row < static_cast<int>(fields.size()) && fields[row].size() >= 2)
            Append(fields[row][1]);
    });
    connect(newCustomButton_, &QPushButton::clicked, this,
            &CustomCardFormulaEditor::OpenCustomizedFields);
    FillCustomFields();
}

QWidget* CustomCardFormulaEditor::MakeRecordGroup(RecordGroup& group, const QString& title,
                                                  const QString& first, const QString& second,
                                                  bool secondIsNumber) {
    auto* box = new QGroupBox(title);
    auto* trackLabel = new QLabel(QStringLiteral("Track No."));
    group.track = new QComboBox;
    group.track->addItems(
        {QStringLiteral("Track 1"), QStringLiteral("Track 2"), QStringLiteral("Track 3")});
    group.track->setCurrentIndex(-1);
    // Both groups have a "Track No." list and a "ClearAll" button: the group's title tells a
    // screen reader which is which. A list is read out by its label's name.
    const QString trackName = title + QLatin1Char(' ') + trackLabel->text();
    group.track->setAccessibleName(trackName);
    trackLabel->setAccessibleName(trackName);
    auto* firstLabel = new QLabel(first);
    group.first = NumberBox();
    group.first->setAccessibleName(first);
    auto* secondLabel = new QLabel(second);
    group.second = secondIsNumber ? NumberBox() : new QLineEdit;
    group.second->setAccessibleName(second);
    group.clearAll = new QPushButton(QStringLiteral("ClearAll"));
    group.clearAll->setAccessibleName(title + QLatin1Char(' ') + group.clearAll->text());
    trackLabel->setBuddy(group.track);
    firstLabel->setBuddy(group.first);
    secondLabel->setBuddy(group.second);
    auto* grid = new QGridLayout(box);
    grid->addWidget(trackLabel, 0, 0);
    grid->addWidget(group.track, 0, 1, 1, 3);
    grid->addWidget(firstLabel, 1, 0);
    grid->addWidget(group.first, 1, 1);
    grid->addWidget(secondLabel, 1, 2);
    grid->addWidget(group.second, 1, 3);
    grid->addWidget(group.clearAll, 2, 3, Qt::AlignRight);

    RecordGroup* g = &group;
    connect(group.track, &QComboBox::currentIndexChanged, this, [this, g] { ShowRecord(*g); });
    // Only typing rebuilds the record; showing a record's values must not.
    connect(group.first, &QLineEdit::textEdited, this, [this, g] { StoreRecord(*g); });
    connect(group.second, &QLineEdit::textEdited, this, [this, g] { StoreRecord(*g); });
    connect(group.clearAll, &QPushButton::clicked, this, [g] {
        for (Bytes& record : g->records)
            record.clear();
        g->track->setCurrentIndex(-1);
        g->first->clear();
        g->second->clear();
    });
    return box;
}

void CustomCardFormulaEditor::ShowRecord(const RecordGroup& group) {
    group.first->clear();
    group.second->clear();
    const int index = group.track->currentIndex();
    if (index < 0)
        return;
    const Bytes& record = group.records[static_cast<std::size_t>(index)];
    if (&group == &length_) {
        if (const auto limit = ReadLengthLimit(record)) {
            group.first->setText(QString::number(limit->min));
            group.second->setText(QString::number(limit->max));
        }
    } else if (const auto match = ReadMatchString(record)) {
        group.first->setText(QString::number(match->offset));
        group.second->setText(Latin1Text(std::string(match->text.begin(), match->text.end())));
    }
}

void CustomCardFormulaEditor::StoreRecord(RecordGroup& group) {
    const int index = group.track->currentIndex();
    if (index < 0)
        return;
    const std::string first = Latin1Bytes(group.first->text());
    const std::string second = Latin1Bytes(group.second->text());
    group.records[static_cast<std::size_t>(index)] =
        &group == &length_ ? LengthLimitFromBoxes(index + 1, first, second)
                           : MatchStringFromBoxes(index + 1, first, second);
}

void CustomCardFormulaEditor::WriteBack() {
    CustomCardDefinition& card = custom2_ ? settings_.custom2 : settings_.custom;
    card.lengthLimits = length_.records;
    card.matchStrings = match_.records;
}

void CustomCardFormulaEditor::FillCustomFields() {
    customList_->SetLines(CustomFieldLines(CardOf(settings_, custom2_).fields));
}

void CustomCardFormulaEditor::OpenCustomizedFields() {
    CustomizedFieldsDialog dialog(settings_, WorkingSequence(), custom2_, messenger_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    FillCustomFields();
    ShowSequence();
}

}  // namespace ravelfin
