#include "controls/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace ravelfin {

RadioGroup::RadioGroup(const QString& title, const QStringList& captions, int columns,
                       QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)) {
    auto* layout = new QGridLayout(this);
    const int rows = (static_cast<int>(captions.size()) + columns - 1) / columns;
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i]);
        group_->addButton(button, i);
        buttons_.push_back(button);
        layout->addWidget(button, i % rows, i / rows);
    }
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !setting_)
            emit Chosen(id);
    });
}

void RadioGroup::SetIndex(int index) {
    setting_ = true;
    if (index >= 0 && index < Count()) {
        Button(index)->setChecked(true);
    } else if (QAbstractButton* checked = group_->checkedButton()) {
        // An exclusive group never lets its last button go by itself.
        group_->setExclusive(false);
        checked->setChecked(false);
        group_->setExclusive(true);
    }
    setting_ = false;
}

int RadioGroup::Index() const {
    return group_->checkedId();
}

}  // namespace ravelfin
