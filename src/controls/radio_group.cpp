#include "controls/radio_group.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QRadioButton>
#include <algorithm>

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
        button->installEventFilter(this);
        layout->addWidget(button, i % rows, i / rows);
    }
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            UpdateTabStop();
        if (checked && !setting_)
            emit Chosen(id);
    });
    UpdateTabStop();
}

bool RadioGroup::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::EnabledChange || type == QEvent::ShowToParent ||
        type == QEvent::HideToParent) {
        UpdateTabStop();
    }
    return QGroupBox::eventFilter(watched, event);
}

void RadioGroup::UpdateTabStop() {
    const auto takesInput = [](const QAbstractButton* button) {
        return button && button->isEnabled() && !button->isHidden();
    };
    QAbstractButton* stop = group_->checkedButton();
    if (!takesInput(stop)) {
        const auto first = std::find_if(buttons_.begin(), buttons_.end(), takesInput);
        stop = first != buttons_.end() ? *first : nullptr;
    }
    for (QRadioButton* button : buttons_)
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
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
    UpdateTabStop();
}

int RadioGroup::Index() const {
    return group_->checkedId();
}

}  // namespace ravelfin
