#include "controls/skinned_dialog.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>

#include "controls/colors.h"
#include "controls/scrolling_body.h"

namespace ravelfin {

SkinnedDialog::SkinnedDialog(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), background_(colors::PaleGreen()) {}

SkinnedDialog::SkinnedDialog(QWidget* parent, PageTag) : SkinnedDialog(parent) {
    setWindowFlags(Qt::Widget);
}

void SkinnedDialog::SetBackground(const QColor& color) {
    background_ = color;
    update();
}

void SkinnedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (isWindow())
        KeepOnScreen(*this);
}

void SkinnedDialog::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
}

QHBoxLayout* CenteredButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    row->addStretch();
    return row;
}

}  // namespace ravelfin
