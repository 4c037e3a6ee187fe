#include "app/qt_pause.h"

#include <QEventLoop>
#include <QTimer>

#include "app/restart_progress.h"
#include "app/wait_cursor.h"

namespace ravelfin {

void QtPause::Wait(int milliseconds) {
    if (milliseconds <= 0)
        return;
    WaitCursor cursor;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(milliseconds);
    loop.exec();  // input reaches the wait cursor's gate, which discards it
}

void QtPause::WaitForRestart(int milliseconds) {
    RestartProgress restarting;
    Wait(milliseconds);
}

}  // namespace ravelfin
