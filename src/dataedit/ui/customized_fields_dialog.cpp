#include "dataedit/ui/customized_fields_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "connection/messenger.h"
#include "controls/scrolling_body.h"
#include "dataedit/custom_field_text.h"
#include "dataedit/custom_fields.h"
#include "dataedit/ui/field_list.h"
#include "dataedit/ui/latin1_text.h"

namespace ravelfin {
namespace {

struct FieldBoxLayout {
    int row;
    const char* caption;
    bool numeric;
    std::string CustomFieldInput::*target;
};

struct KindLayout {
    CustomFieldKind kind;
    const char* title;
    QStringList rowLabels;
    QList<FieldBoxLayout> boxes;
};

using In = CustomFieldInput;

// The boxes of each kind, in the rows the dialog shows them.
const std::array<KindLayout, 4>& KindLayouts() {
    static const std::array<KindLayout, 4> layouts{
        KindLayout{CustomFieldKind::kBefore,
                   "Before String",
                   {QString()},
                   {{0, "Times", true, &In::times1}, {0, "String", false, &In::string1}}},
        KindLayout{CustomFieldKind::kBetween,
                   "Between String",
                   {QStringLiteral("1:"), QStringLiteral("2:")},
                   {{0, "Times", true, &In::times1},
                    {0, "String", false, &In::string1},
                    {1, "Times", true, &In::times2},
                    {1, "String", false, &In::string2}}},
        KindLayout{CustomFieldKind::kAfter,
                   "After String",
                   {QString(), QString()},
                   {{0, "Times", true, &In::times1},
                    {0, "String", false, &In::string1},
                    {1, "Offset", true, &In::offset},
                    {1, "Length", true, &In::length}}},
        KindLayout{CustomFieldKind::kAmong,
                   "Among String",
                   {QStringLiteral("1:"), QStringLiteral("2:"), QString()},
                   {{0, "Times", true, &In::times1},
                    {0, "String", false, &In::string1},
                    {1, "Times", true, &In::times2},
                    {1, "String", false, &In::string2},
                    {2, "Offset", true, &In::offset},
                    {2, "Length", true, &In::length}}},
    };
    return layouts;
}

CustomCardDefinition& CardOf(DataEditSettings& settings, bool custom2) {
    return custom2 ? settings.custom2 : settings.custom;
}

}  // namespace

QStringList CustomFieldLines(const std::vector<Bytes>& fields) {
    QStringList lines;
    for (const Bytes& field : fields)
        lines << Latin1Text(FormatCustomFieldText(field));
    return lines;
}

CustomizedFieldsDialog::CustomizedFieldsDialog(DataEditSettings& settings,
                                               const Bytes& workingSequence, bool custom2,
                                               Messenger& messenger, QWidget* parent)
    : SkinnedDialog(parent),
      settings_(settings),
      workingSequence_(workingSequence),
      custom2_(custom2),
      messenger_(messenger),
      card_(CardOf(settings, custom2)),
      track_(new QComboBox),
      number_(new QComboBox),
      list_(new FieldList(QStringLiteral("Customized Fields:"))) {
    setWindowTitle(QStringLiteral("Customized Fields"));
    setModal(true);

    auto* trackLabel = new QLabel(QStringLiteral("Track No."));
    track_->addItems(
        {QStringLiteral("Track 1"), QStringLiteral("Track 2"), QStringLiteral("Track 3")});
    track_->setAccessibleName(trackLabel->text());
    trackLabel->setBuddy(track_);
    auto* numberLabel = new QLabel(QStringLiteral("New Field No."));
    for (char16_t letter = u'a'; letter <= u'z'; ++letter)
        number_->addItem(QChar(letter));
    number_->setAccessibleName(numberLabel->text());
    numberLabel->setBuddy(number_);
    number_->setEnabled(false);
    auto* top = new QHBoxLayout;
    top->addWidget(trackLabel);
    top->addWidget(track_);
    top->addSpacing(20);
    top->addWidget(numberLabel);
    top->addWidget(number_);
    top->addStretch();

    auto* ok = new QPushButton(QStringLiteral("OK"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    QVBoxLayout* layout = ScrollingBody(*this, CenteredButtonRow({ok, cancel}));
    layout->addLayout(top);
    auto* radios = new QButtonGroup(this);
    for (std::size_t i = 0; i < kinds_.size(); ++i) {
        layout->addWidget(MakeKindGroup(i, KindLayouts()[i].kind));
        radios->addButton(kinds_[i].radio);
    }
    auto* add = new QPushButton(QStringLiteral("Add"));
    auto* del = new QPushButton(QStringLiteral("Delete"));
    auto* listLabel = new QLabel(list_->accessibleName());
    auto* listRow = new QGridLayout;
    listRow->addWidget(listLabel, 0, 0);
    listRow->addWidget(list_, 1, 0, 3, 1);
    listRow->addWidget(add, 1, 1);
    listRow->addWidget(del, 2, 1);
    layout->addLayout(listRow);
    list_->setMinimumHeight(120);
    resize(560, 560);

    connect(add, &QPushButton::clicked, this, &CustomizedFieldsDialog::Add);
    connect(del, &QPushButton::clicked, this, &CustomizedFieldsDialog::Delete);
    connect(ok, &QPushButton::clicked, this, &CustomizedFieldsDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CustomizedFieldsDialog::reject);

    track_->setCurrentIndex(0);
    kinds_[0].radio->setChecked(true);
    ChooseKind(CustomFieldKind::kBefore);
    ShowFields();
}

QWidget* CustomizedFieldsDialog::MakeKindGroup(std::size_t index, CustomFieldKind kind) {
    const KindLayout& kindLayout = KindLayouts()[index];
    KindBoxes& boxes = kinds_[index];
    boxes.kind = kind;
    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(frame);
    boxes.radio = new QRadioButton(QString::fromLatin1(kindLayout.title));
    boxes.radio->setMinimumWidth(130);
    grid->addWidget(boxes.radio, 0, 0);
    connect(boxes.radio, &QRadioButton::toggled, this, [this, kind](bool on) {
        if (on)
            ChooseKind(kind);
    });
    QList<int> columns(kindLayout.rowLabels.size(), 2);
    for (int row = 0; row < kindLayout.rowLabels.size(); ++row) {
        if (!kindLayout.rowLabels[row].isEmpty())
            grid->addWidget(new QLabel(kindLayout.rowLabels[row]), row, 1);
    }
    for (const FieldBoxLayout& b : kindLayout.boxes) {
        const QString caption = QString::fromLatin1(b.caption);
        auto* label = new QLabel(caption);
        auto* box = new QLineEdit;
        // Each box is named as its row reads, after the kind it belongs to, since every kind has
        // its "Times" and "String": "Between String 1: Times".
        box->setAccessibleName(boxes.radio->text() + u' ' +
                               (kindLayout.rowLabels[b.row].isEmpty()
                                    ? QString()
                                    : kindLayout.rowLabels[b.row] + u' ') +
                               caption);
        if (b.numeric) {
            box->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
            box->setMaximumWidth(60);
        }
        int& column = columns[b.row];
        grid->addWidget(label, b.row, column++);
        grid->addWidget(box, b.row, column++);
        boxes.boxes << box;
        boxes.targets << b.target;
    }
    grid->setColumnStretch(grid->columnCount(), 1);
    return frame;
}

CustomFieldKind CustomizedFieldsDialog::Kind() const {
    for (const KindBoxes& k : kinds_) {
        if (k.radio->isChecked())
            return k.kind;
    }
    return CustomFieldKind::kBefore;
}

QRadioButton* CustomizedFieldsDialog::KindButton(CustomFieldKind kind) const {
    for (const KindBoxes& k : kinds_) {
        if (k.kind == kind)
            return k.radio;
    }
    return nullptr;
}

const QList<QLineEdit*>& CustomizedFieldsDialog::Boxes(CustomFieldKind kind) const {
    for (const KindBoxes& k : kinds_) {
        if (k.kind == kind)
            return k.boxes;
    }
    return kinds_[0].boxes;
}

void CustomizedFieldsDialog::ChooseKind(CustomFieldKind kind) {
    for (const KindBoxes& k : kinds_) {
        for (QLineEdit* box : k.boxes)
            box->setEnabled(k.kind == kind);
    }
}

void CustomizedFieldsDialog::Add() {
    CustomFieldInput input;
    const KindBoxes* chosen = &kinds_[0];
    for (const KindBoxes& k : kinds_) {
        if (k.kind == Kind())
            chosen = &k;
    }
    for (qsizetype i = 0; i < chosen->boxes.size(); ++i)
        input.*(chosen->targets[i]) = Latin1Bytes(chosen->boxes[i]->text());
    const CustomFieldResult result =
        AddCustomField(card_, chosen->kind, track_->currentIndex() + 1, input);
    if (result != CustomFieldResult::kDone) {
        messenger_.ShowMessage(CustomFieldMessage(result));
        return;
    }
    ShowFields();
}

void CustomizedFieldsDialog::Delete() {
    const int row = list_->currentRow();
    if (row < 0 || !list_->currentItem()->isSelected())
        return;
    const CustomFieldResult result = DeleteCustomField(
        card_, row, workingSequence_, settings_.formulas[CustomFormulaSlot(custom2_)]);
    if (result == CustomFieldResult::kInUse) {
        messenger_.ShowMessage(CustomFieldMessage(result));
        return;
    }
    ShowFields();
}

void CustomizedFieldsDialog::ShowFields() {
    list_->SetLines(CustomFieldLines(card_.fields));
    number_->setCurrentIndex(static_cast<int>(card_.fields.size()));
}

void CustomizedFieldsDialog::accept() {
    CardOf(settings_, custom2_).fields = card_.fields;
    SkinnedDialog::accept();
}

}  // namespace ravelfin
