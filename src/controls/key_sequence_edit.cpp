#include "controls/key_sequence_edit.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

#include "connection/messenger.h"
#include "protocol/char_names.h"

namespace ravelfin {

namespace {

constexpr std::uint8_t kBackspaceCode = 0x08;

// Set while a required box is telling the user it may not stay empty, so that the focus
// moving to the message does not make a second empty box complain as well.
bool complaining = false;

// The byte a key press types, if any. Control-letter combinations type their control code
// (Ctrl+B is 0x02) whether or not the platform delivered it as text.
bool TypedByte(const QKeyEvent& event, std::uint8_t& code) {
    // Ctrl+Tab switches tabs; Ctrl+I types the tab character.
    if (event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab)
        return false;
    const bool control = event.modifiers() & Qt::ControlModifier;
    if (control && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z) {
        code = static_cast<std::uint8_t>(event.key() - Qt::Key_A + 1);
        return code != kBackspaceCode;
    }
    const QString text = event.text();
    if (text.size() != 1)
        return false;
    const char16_t unit = text.at(0).unicode();
    if (unit > 0xFF || unit == kBackspaceCode || unit == 0x7F)
        return false;
    code = static_cast<std::uint8_t>(unit);
    return true;
}

}  // namespace

KeySequenceEdit::KeySequenceEdit(Messenger& messenger, QWidget* parent)
    : QLineEdit(parent), messenger_(messenger) {
    setMaxLength(32767);
    setDragEnabled(false);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void KeySequenceEdit::SetBytes(const Bytes& bytes) {
    // A value longer than the limit (from a file or a reader) is shown whole: what a send
    // writes is what the box shows, and only typing is held to the limit.
    bytes_ = bytes;
    caret_ = anchor_ = end_ = static_cast<int>(bytes_.size());
    Refresh();
}

void KeySequenceEdit::Clear() {
    bytes_.clear();
    caret_ = anchor_ = end_ = 0;
    Refresh();
}

void KeySequenceEdit::SetTextLimit(int limit) {
    limit_ = std::max(limit, 1);
}

void KeySequenceEdit::InsertCode(std::uint8_t code) {
    if (limit_ == 1) {
        bytes_.clear();
        caret_ = anchor_ = end_ = 0;
    }
    if (!InsertAtCaret(code))
        messenger_.ShowMessage("Exceed the maximum range.");
    Refresh();
    emit BytesChanged();
}

void KeySequenceEdit::TypeCharacter(std::uint8_t code) {
    if (HasSelection())
        DeleteSelection();
    InsertCode(code);
}

bool KeySequenceEdit::InsertAtCaret(std::uint8_t code) {
    if (static_cast<int>(bytes_.size()) >= limit_)
        return false;
    const int at = std::clamp(caret_, 0, static_cast<int>(bytes_.size()));
    bytes_.insert(bytes_.begin() + at, code);
    caret_ = anchor_ = end_ = at + 1;
    return true;
}

void KeySequenceEdit::DeleteSelection() {
    const int size = static_cast<int>(bytes_.size());
    const int from = std::clamp(std::min(anchor_, end_), 0, size);
    const int to = std::clamp(std::max(anchor_, end_), 0, size);
    bytes_.erase(bytes_.begin() + from, bytes_.begin() + to);
    caret_ = anchor_ = end_ = from;
}

void KeySequenceEdit::MoveCaret(int delta) {
    caret_ = std::clamp(caret_ + delta, 0, static_cast<int>(bytes_.size()));
    anchor_ = end_ = caret_;
    Refresh();
}

void KeySequenceEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete: {
            const bool backspace = event->key() == Qt::Key_Backspace;
            if (HasSelection()) {
                DeleteSelection();
            } else if (backspace && caret_ > 0) {
                bytes_.erase(bytes_.begin() + --caret_);
                anchor_ = end_ = caret_;
            } else if (!backspace && caret_ < static_cast<int>(bytes_.size())) {
                bytes_.erase(bytes_.begin() + caret_);
            } else {
                return;
            }
            Refresh();
            emit BytesChanged();
            return;
        }
        case Qt::Key_Left:
        case Qt::Key_Up:
            MoveCaret(-1);
            return;
        case Qt::Key_Right:
        case Qt::Key_Down:
            MoveCaret(1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            // Left to the dialog: its default and cancel buttons.
            event->ignore();
            return;
        default:
            break;
    }
    std::uint8_t code = 0;
    if (TypedByte(*event, code)) {
        TypeCharacter(code);
        return;
    }
    // Not for the box: Ctrl+PageDown and the like reach the editor's tabs.
    event->ignore();
}

void KeySequenceEdit::inputMethodEvent(QInputMethodEvent* event) {
    for (const QChar c : event->commitString()) {
        if (c.unicode() <= 0xFF && c.unicode() != kBackspaceCode) {
            TypeCharacter(static_cast<std::uint8_t>(c.unicode()));
        }
    }
    event->accept();
}

int KeySequenceEdit::ByteUnder(const QPoint& point) {
    return DisplayPosToByteIndex(bytes_, cursorPositionAt(point));
}

void KeySequenceEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    caret_ = anchor_ = end_ = ByteUnder(event->position().toPoint());
    Refresh();
}

void KeySequenceEdit::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    caret_ = end_ = ByteUnder(event->position().toPoint());
    Refresh();
}

void KeySequenceEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    caret_ = end_ = ByteUnder(event->position().toPoint());
    Refresh();
}

void KeySequenceEdit::mouseDoubleClickEvent(QMouseEvent* /*event*/) {}

void KeySequenceEdit::contextMenuEvent(QContextMenuEvent* /*event*/) {}

void KeySequenceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Switching to another program or opening a popup is not leaving the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) {
        return;
    }
    if (required_ && bytes_.empty() && !complaining) {
        QTimer::singleShot(0, this, &KeySequenceEdit::ComplainIfEmpty);
    }
}

void KeySequenceEdit::ComplainIfEmpty() {
    if (!required_ || !bytes_.empty() || !isVisible() || hasFocus() || complaining)
        return;
    complaining = true;
    messenger_.ShowMessage("You should input a charater.");
    complaining = false;
    setFocus(Qt::OtherFocusReason);
}

void KeySequenceEdit::Refresh() {
    const QString display = QString::fromLatin1(BytesToDisplayText(bytes_));
    if (display != text())
        setText(display);
    const int endPos = ByteIndexToDisplayPos(bytes_, end_);
    if (HasSelection()) {
        const int anchorPos = ByteIndexToDisplayPos(bytes_, anchor_);
        setSelection(anchorPos, endPos - anchorPos);
    } else {
        deselect();
        setCursorPosition(ByteIndexToDisplayPos(bytes_, caret_));
    }
}

}  // namespace ravelfin
