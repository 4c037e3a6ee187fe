#include "app/qt_messenger.h"

#include "app/reader_lost_box.h"
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

void QtMessenger::OfferReaderSelection(const std::string& text) {
    CursorScope arrow(Qt::ArrowCursor);
    const QString offer =
        QString::fromUtf8(text) + QStringLiteral("\n\nChoose the reader to use with %1.")
                                      .arg(QString::fromLatin1(kSelectReaderButton));
    if (RunReaderLostBox(window_, offer) && selectReader_)
        selectReader_();
}

void QtMessenger::ShowNotice(const std::string& text) {
    if (showNotice_)
        showNotice_(QString::fromUtf8(text));
}

}  // namespace ravelfin
