#include "controls/skinned_dialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>

#include "controls/colors.h"

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

void SkinnedDialog::keyPressEvent(QKeyEvent* event) {
    // The buttons under a tab set are no part of it, so Ctrl+Tab pressed on them would not
    // reach it; it turns the pages from there too, as it does inside them.
    const bool turnsPage = (event->modifiers() & Qt::ControlModifier) &&
                           (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab);
    auto* tabs =
        turnsPage ? findChild<QTabWidget*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (tabs && !tabs->isAncestorOf(focusWidget())) {
        QCoreApplication::sendEvent(tabs, event);
        return;
    }
    QDialog::keyPressEvent(event);
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
