#include "dataedit/ui/data_editing_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/help_topics.h"
#include "controls/help_window.h"
#include "dataedit/data_edit_mode.h"
#include "dataedit/formula_slots.h"
#include "dataedit/ui/formula_editor.h"
#include "dataedit/ui/formula_editors.h"
#include "dataedit/ui/latin1_text.h"
#include "dataedit/ui/new_field_dialog.h"

namespace ravelfin {
namespace {

QGroupBox* Group(const QString& title, const QList<QWidget*>& members) {
    auto* group = new QGroupBox(title);
    auto* row = new QHBoxLayout(group);
    for (QWidget* member : members)
        row->addWidget(member);
    row->addStretch();
    return group;
}

}  // namespace

DataEditingPage::DataEditingPage(DataEditSettings& settings, double firmwareVersion,
                                 Messenger& messenger, QWidget* parent)
    : SkinnedDialog(parent, PageTag{}),
      settings_(&settings),
      firmwareVersion_(firmwareVersion),
      messenger_(messenger),
      enable_(new QRadioButton(QStringLiteral("Enable"))),
      disable_(new QRadioButton(QStringLiteral("Disable"))),
      matched_(new QRadioButton(QStringLiteral("Matched"))),
      unmatched_(new QRadioButton(QStringLiteral("Unmatched"))),
      formulaLabel_(new QLabel(QStringLiteral("Formula:"))),
      formulaList_(new QListWidget) {
    auto* dataEdit = Group(QStringLiteral("Data Edit"), {enable_, disable_});
    outputGroup_ = Group(QStringLiteral("Output Method"), {matched_, unmatched_});
    cardTypes_[kSlotCreditCard] = new QRadioButton(QStringLiteral("Credit Card"));
    cardTypes_[kSlotDmvOrCustom2] = new QRadioButton(QStringLiteral("Custom2"));
    cardTypes_[kSlotAamva] = new QRadioButton(QStringLiteral("AAMVA"));
    cardTypes_[kSlotCustom] = new QRadioButton(QStringLiteral("Custom"));
    // The second slot's radio stands rightmost, though it is the second in index order.
    formatGroup_ = Group(QStringLiteral("Data Format"),
                         {cardTypes_[kSlotCreditCard], cardTypes_[kSlotAamva],
                          cardTypes_[kSlotCustom], cardTypes_[kSlotDmvOrCustom2]});
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
    layout->addWidget(dataEdit, 0, 0);
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

    dependents_ = {outputGroup_,  matched_,      unmatched_,    formatGroup_, cardTypes_[0],
                   cardTypes_[1], cardTypes_[2], cardTypes_[3], trackGroup_,  tracks_[0],
                   tracks_[1],    tracks_[2],    formulaLabel_, formulaList_, newField,
                   addFormula,    editFormula,   deleteFormula, clearAll,     defaults};

    connect(enable_, &QRadioButton::clicked, this,
            [this] { SetMode(true, unmatched_->isChecked()); });
    connect(disable_, &QRadioButton::clicked, this, [this] { SetMode(false, false); });
    connect(matched_, &QRadioButton::clicked, this, [this] { SetMode(true, false); });
    connect(unmatched_, &QRadioButton::clicked, this, [this] { SetMode(true, true); });
    for (QRadioButton* type : cardTypes_)
        connect(type, &QRadioButton::toggled, this, [this] { UpdateTrackBoxes(); });
    connect(help, &QPushButton::clicked, this,
            [this] { ShowHelp(this, kHelpFileName, kHelpContextCommand, kHelpDataEditing); });
    connect(newField, &QPushButton::clicked, this, &DataEditingPage::OpenNewField);
    connect(addFormula, &QPushButton::clicked, this, [this] { OpenEditor(CardType()); });
    connect(editFormula, &QPushButton::clicked, this, [this] {
        if (const int slot = SelectedFormulaSlot(); slot >= 0)
            OpenEditor(static_cast<std::size_t>(slot));
    });
    connect(deleteFormula, &QPushButton::clicked, this, [this] {
        if (const int slot = SelectedFormulaSlot(); slot >= 0) {
            settings_->formulas[static_cast<std::size_t>(slot)].clear();
            FillFormulaList();
        }
    });
    connect(clearAll, &QPushButton::clicked, this, [this] {
        ClearAllFormulas(*settings_);
        FillFormulaList();
    });
    connect(defaults, &QPushButton::clicked, this, [this] {
        settings_->ResetDataEditSettings();
        Refresh();
    });
    Refresh();
}

void DataEditingPage::SetRecord(DataEditSettings& settings, double firmwareVersion) {
    settings_ = &settings;
    firmwareVersion_ = firmwareVersion;
    Refresh();
}

void DataEditingPage::Refresh() {
    cardTypes_[kSlotDmvOrCustom2]->setText(
        SecondSlotIsCustom2(firmwareVersion_) ? QStringLiteral("Custom2") : QStringLiteral("CDL"));
    ShowMode();
    cardTypes_[kSlotCreditCard]->setChecked(true);
    tracks_[0]->setChecked(true);
    tracks_[1]->setChecked(true);
    tracks_[2]->setChecked(false);
    UpdateDependents();
    FillFormulaList();
}

std::size_t DataEditingPage::CardType() const {
    for (std::size_t slot = 0; slot < cardTypes_.size(); ++slot) {
        if (cardTypes_[slot]->isChecked())
            return slot;
    }
    return kSlotCreditCard;
}

std::array<bool, 3> DataEditingPage::TrackSelected() const {
    return {tracks_[0]->isChecked(), tracks_[1]->isChecked(), tracks_[2]->isChecked()};
}

void DataEditingPage::keyPressEvent(QKeyEvent* event) {
    // A page inside a tab must not close on Enter or Esc the way a dialog would.
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            SkinnedDialog::keyPressEvent(event);
    }
}

void DataEditingPage::ShowMode() {
    const DataEditChoice choice = ReadDataEditMode(settings_->mode);
    (choice.enabled ? enable_ : disable_)->setChecked(true);
    (choice.unmatched ? unmatched_ : matched_)->setChecked(true);
}

void DataEditingPage::SetMode(bool enabled, bool unmatched) {
    settings_->mode = DataEditModeFor({enabled, unmatched});
    UpdateDependents();
}

void DataEditingPage::UpdateDependents() {
    const bool enabled = enable_->isChecked();
    for (QWidget* w : dependents_)
        w->setEnabled(enabled);
    UpdateTrackBoxes();
}

void DataEditingPage::UpdateTrackBoxes() {
    const auto usable = TrackBoxesEnabled(CardType(), firmwareVersion_, enable_->isChecked());
    for (std::size_t t = 0; t < tracks_.size(); ++t)
        tracks_[t]->setEnabled(usable[t]);
}

void DataEditingPage::FillFormulaList() {
    formulaList_->clear();
    for (const FormulaLine& line : FormulaLines(*settings_, firmwareVersion_)) {
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
    const auto editor = MakeFormulaEditor(EditorForSlot(slot, firmwareVersion_), *settings_,
                                          TrackSelected(), messenger_, this);
    if (editor->exec() == QDialog::Accepted)
        FillFormulaList();
}

void DataEditingPage::OpenNewField() {
    NewFieldDialog dialog(*settings_, nullptr, messenger_, this);
    dialog.exec();
}

}  // namespace ravelfin
