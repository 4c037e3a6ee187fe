#include "app/window_dragger.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace ravelfin {

WindowDragger::WindowDragger(QWidget& window) : QObject(&window), window_(window) {
    window_.installEventFilter(this);
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_)
        return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* press = static_cast<QMouseEvent*>(event);
            if (press->button() != Qt::LeftButton)
                return false;
            moving_ = true;
            // The window manager moves the window when it can; otherwise follow the pointer.
            QWindow* handle = window_.windowHandle();
            followPointer_ = !(handle && handle->startSystemMove());
            grabOffset_ = press->globalPosition().toPoint() - window_.frameGeometry().topLeft();
            return true;
        }
        case QEvent::MouseMove: {
            auto* move = static_cast<QMouseEvent*>(event);
            if (!moving_ || !followPointer_ || !(move->buttons() & Qt::LeftButton))
                return false;
            window_.move(move->globalPosition().toPoint() - grabOffset_);
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                moving_ = false;
            return false;
        default:
            return false;
    }
}

}  // namespace ravelfin
