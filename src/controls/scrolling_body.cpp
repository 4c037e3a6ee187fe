#include "controls/scrolling_body.h"

#include <QHBoxLayout>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>

namespace ravelfin {

QVBoxLayout* ScrollingBody(QWidget& window, QHBoxLayout* buttonRow) {
    auto* body = new QWidget;
    auto* bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea;
    scroll->setWidget(body);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    // The window's own background shows through.
    scroll->viewport()->setAutoFillBackground(false);
    body->setAutoFillBackground(false);
    auto* outer = new QVBoxLayout(&window);
    outer->addWidget(scroll, 1);
    outer->addLayout(buttonRow);
    return bodyLayout;
}

void KeepOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QSize frame = window.frameGeometry().size() - window.size();
    window.resize(window.size().boundedTo(available.size() - frame));
    QRect placed = window.frameGeometry();
    placed.moveRight(std::min(placed.right(), available.right()));
    placed.moveBottom(std::min(placed.bottom(), available.bottom()));
    placed.moveLeft(std::max(placed.left(), available.left()));
    placed.moveTop(std::max(placed.top(), available.top()));
    window.move(placed.topLeft());
}

}  // namespace ravelfin
