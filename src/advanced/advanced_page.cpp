#include "advanced/advanced_page.h"

#include <QKeyEvent>

namespace ravelfin {

bool IsDialogEndingKey(const QKeyEvent& event) {
    const int key = event.key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

void AdvancedPage::keyPressEvent(QKeyEvent* event) {
    if (IsDialogEndingKey(*event)) {
        event->ignore();
        return;
    }
    SkinnedDialog::keyPressEvent(event);
}

}  // namespace ravelfin
