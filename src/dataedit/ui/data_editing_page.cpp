#include "dataedit/ui/data_editing_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/help_topics.h"
#include "controls/help_window.h"
#include "controls/radio_group.h"
#include "dataedit/data_edit_mode.h"
#include "dataedit/formula_slots.h"
#include "dataedit/ui/formula_editor.h"
#include "dataedit/ui/formula_editors.h"
#include "dataedit/ui/latin1_text.h"
#include "dataedit/ui/new_field_dialog.h"

namespace ravelfin {
namespace {

// The card types as their buttons stand: the second slot's stands rightmost, though it is the
// second in slot order.
constexpr std::array<std::size_t, kFormulaSlots> kCardTypeOrder = {kSlotCreditCard, kSlotAamva,
                                                                   kSlotCustom, kSlotDmvOrCustom2};
constexpr int kEnable = 0, kDisable = 1;
constexpr int kMatched = 0, kUnmatched = 1;

int CardTypePosition(std::size_t slot) {
    for (std::size_t i = 0; i < kCardTypeOrder.size(); ++i) {
        if (kCardTypeOrder[i] == slot)
            return static_cast<int>(i);
    }
    return 0;
}

QGroupBox* Group(const QString& title, const QList<QWidget*>& members) {
    auto* group = new QGroupBox(title);
    auto* row = new QHBoxLayout(group);
    for (QWidget* member : members)
        row->addWidget(member);
    row->addStretch();
    return group;
}

}  // namespace

DataEditingPage::DataEditingPage(DataEditSource record, double firmwareVersion,
                                 Messenger& messenger, QWidget* parent)
    : SkinnedPage(parent),
      record_(std::move(record)),
      firmwareVersion_(firmwareVersion),
      messenger_(messenger),
      dataEdit_(new RadioGroup(QStringLiteral("Data Edit"),
                               {QStringLiteral("Enable"), QStringLiteral("Disable")}, 2)),
      outputGroup_(new RadioGroup(QStringLiteral("Output Method"),
                                  {QStringLiteral("Matched"), QStringLiteral("Unmatched")}, 2)),
      formatGroup_(new RadioGroup(QStringLiteral("Data Format"),
                                  {QStringLiteral("Credit Card"), QStringLiteral("AAMVA"),
                                   QStringLiteral("Custom"), QStringLiteral("Custom2")},
                                  4)),
      formulaLabel_(new QLabel(QStringLiteral("Formula:"))),
      formulaList_(new QListWidget) {
    for (int t = 0; t < 3; ++t)
        tracks_[static_cast<std::size_t>(t)] = new QCheckBox(QStringLiteral("Track%1").arg(t + 1));
    trackGroup_ = Group(QStringLiteral("Track Selection"), {tracks_[0], tracks_[1], tracks_[2]});
    formulaList_->setAccessibleName(formulaLabel_->text());

    auto* help = new QPushButton(QStringLiteral("Help"));
    auto* newField = new QPushButton(QStringLiteral("New Field"));
    auto* addFormula = new QPushButton(QStringLiteral("Add Formula"));
    auto* editFormula = new QPushButton(QStringLiteral("Edit Formula"));
    auto* deleteFormula = new QPushButton(QStringLiteral("Delete Formula"));
    auto* clearAll = new QPushButton(QStringLiteral("Clear All"));
    auto* defaults = new QPushButton(QStringLiteral("Default"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(dataEdit_, 0, 0);
    layout->addWidget(outputGroup_, 0, 1);
    layout->addWidget(formatGroup_, 1, 0);
    layout->addWidget(trackGroup_, 1, 1);
    layout->addWidget(formulaLabel_, 2, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {addFormula, editFormula, deleteFormula, clearAll, newField, defaults})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(help);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(formulaList_, 1);
    listRow->addLayout(buttons);
    layout->addLayout(listRow, 3, 0, 1, 2);
    layout->setRowStretch(3, 1);

    dependents_ = {outputGroup_,
                   outputGroup_->Button(kMatched),
                   outputGroup_->Button(kUnmatched),
                   formatGroup_,
                   formatGroup_->Button(0),
                   formatGroup_->Button(1),
                   formatGroup_->Button(2),
                   formatGroup_->Button(3),
                   trackGroup_,
                   tracks_[0],
                   tracks_[1],
                   tracks_[2],
                   formulaLabel_,
                   formulaList_,
                   newField,
                   addFormula,
                   editFormula,
                   deleteFormula,
                   clearAll,
                   defaults};

    // The method shown is the one stored with Enable, and Disable stores none.
    connect(dataEdit_, &RadioGroup::Chosen, this, [this](int index) {
        SetMode(index == kEnable, index == kEnable && outputGroup_->Index() == kUnmatched);
    });
    connect(outputGroup_, &RadioGroup::Chosen, this,
            [this](int index) { SetMode(true, index == kUnmatched); });
    connect(formatGroup_, &RadioGroup::Chosen, this, [this] { UpdateTrackBoxes(); });
    connect(help, &QPushButton::clicked, this,
            [this] { ShowHelp(this, kHelpFileName, kHelpContextCommand, kHelpDataEditing); });
    connect(newField, &QPushButton::clicked, this, &DataEditingPage::OpenNewField);
    connect(addFormula, &QPushButton::clicked, this, [this] { OpenEditor(CardType()); });
    connect(editFormula, &QPushButton::clicked, this, [this] {
        if (const int slot = SelectedFormulaSlot(); slot >= 0)
            OpenEditor(static_cast<std::size_t>(slot));
    });
    connect(deleteFormula, &QPushButton::clicked, this, [this] {
        DataEditSettings* record = record_();
        if (const int slot = SelectedFormulaSlot(); slot >= 0 && record) {
            record->formulas[static_cast<std::size_t>(slot)].clear();
            FillFormulaList();
        }
    });
    connect(clearAll, &QPushButton::clicked, this, [this] {
        if (DataEditSettings* record = record_()) {
            ClearAllFormulas(*record);
            FillFormulaList();
        }
    });
    connect(defaults, &QPushButton::clicked, this, [this] {
        if (DataEditSettings* record = record_()) {
            record->ResetDataEditSettings();
            Refresh();
        }
    });
    Refresh();
}

QRadioButton* DataEditingPage::CardTypeButton(std::size_t slot) const {
    return formatGroup_->Button(CardTypePosition(slot));
}

void DataEditingPage::Refresh() {
    CardTypeButton(kSlotDmvOrCustom2)
        ->setText(SecondSlotIsCustom2(firmwareVersion_) ? QStringLiteral("Custom2")
                                                        : QStringLiteral("CDL"));
    ShowMode();
    formatGroup_->SetIndex(CardTypePosition(kSlotCreditCard));
    tracks_[0]->setChecked(true);
    tracks_[1]->setChecked(true);
    tracks_[2]->setChecked(false);
    UpdateDependents();
    FillFormulaList();
}

std::size_t DataEditingPage::CardType() const {
    const int position = formatGroup_->Index();
    return position >= 0 ? kCardTypeOrder[static_cast<std::size_t>(position)] : kSlotCreditCard;
}

std::array<bool, 3> DataEditingPage::TrackSelected() const {
    return {tracks_[0]->isChecked(), tracks_[1]->isChecked(), tracks_[2]->isChecked()};
}

void DataEditingPage::ShowMode() {
    const DataEditSettings* record = record_();
    const DataEditChoice choice = ReadDataEditMode(record ? record->mode : 0);
    dataEdit_->SetIndex(choice.enabled ? kEnable : kDisable);
    outputGroup_->SetIndex(choice.unmatched ? kUnmatched : kMatched);
}

void DataEditingPage::SetMode(bool enabled, bool unmatched) {
    if (DataEditSettings* record = record_())
        record->mode = DataEditModeFor({enabled, unmatched});
    UpdateDependents();
}

void DataEditingPage::UpdateDependents() {
    const bool enabled = dataEdit_->Index() == kEnable;
    for (QWidget* w : dependents_)
        w->setEnabled(enabled);
    UpdateTrackBoxes();
}

void DataEditingPage::UpdateTrackBoxes() {
    const auto usable =
        TrackBoxesEnabled(CardType(), firmwareVersion_, dataEdit_->Index() == kEnable);
    for (std::size_t t = 0; t < tracks_.size(); ++t)
        tracks_[t]->setEnabled(usable[t]);
}

void DataEditingPage::FillFormulaList() {
    formulaList_->clear();
    const DataEditSettings* record = record_();
    if (!record)
        return;
    for (const FormulaLine& line : FormulaLines(*record, firmwareVersion_)) {
        auto* item = new QListWidgetItem(Latin1Text(line.text), formulaList_);
        item->setData(Qt::UserRole, static_cast<int>(line.slot));
    }
}

int DataEditingPage::SelectedFormulaSlot() const {
    const QListWidgetItem* item = formulaList_->currentItem();
    if (item == nullptr || !item->isSelected())
        return -1;
    return item->data(Qt::UserRole).toInt();
}

void DataEditingPage::OpenEditor(std::size_t slot) {
    DataEditSettings* record = record_();
    if (!record)
        return;
    const auto editor = MakeFormulaEditor(EditorForSlot(slot, firmwareVersion_), *record,
                                          TrackSelected(), messenger_, this);
    if (editor->exec() == QDialog::Accepted)
        FillFormulaList();
}

void DataEditingPage::OpenNewField() {
    DataEditSettings* record = record_();
    if (!record)
        return;
    NewFieldDialog dialog(*record, nullptr, messenger_, this);
    dialog.exec();
}

}  // namespace ravelfin
