#include "controls/skinned_page.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>

#include "controls/colors.h"

namespace ravelfin {

SkinnedPage::SkinnedPage(QWidget* parent) : QWidget(parent), background_(colors::PaleGreen()) {}

void SkinnedPage::SetDefaultButton(QPushButton* button) {
    defaultButton_ = button;
}

void SkinnedPage::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
}

void SkinnedPage::keyPressEvent(QKeyEvent* event) {
    // A key reaches the page only when no control of the tab set took it, so the page turns
    // the set itself, forwards on Ctrl+Tab, backwards with Shift.
    const bool turnsPage = (event->modifiers() & Qt::ControlModifier) &&
                           (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab);
    auto* tabs =
        turnsPage ? findChild<QTabWidget*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (tabs && tabs->count() > 0) {
        const bool back =
            event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        tabs->setCurrentIndex((tabs->currentIndex() + (back ? -1 : 1) + tabs->count()) %
                              tabs->count());
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier && defaultButton_ &&
        defaultButton_->isEnabled() && defaultButton_->isVisible()) {
        defaultButton_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace ravelfin
