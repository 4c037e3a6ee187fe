#include "app/wait_cursor.h"

#include <QApplication>

namespace ravelfin {

CursorScope::CursorScope(Qt::CursorShape shape) {
    QApplication::setOverrideCursor(shape);
}

CursorScope::~CursorScope() {
    QApplication::restoreOverrideCursor();
}

}  // namespace ravelfin
