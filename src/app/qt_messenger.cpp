#include "app/qt_messenger.h"

#include "app/wait_cursor.h"
#include "controls/message_dialog.h"

namespace ravelfin {

void QtMessenger::SetWindow(QWidget* window, std::function<void(const QString&)> showNotice) {
    window_ = window;
    showNotice_ = std::move(showNotice);
}

void QtMessenger::ShowMessage(const std::string& text) {
    // The message may come in the middle of a reader conversation: the user must see the
    // normal pointer while answering it.
    CursorScope arrow(Qt::ArrowCursor);
    RunMessageDialog(window_, QString::fromUtf8(text));
}

void QtMessenger::ShowNotice(const std::string& text) {
    if (showNotice_)
        showNotice_(QString::fromUtf8(text));
}

}  // namespace ravelfin
