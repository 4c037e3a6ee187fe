#include "controls/key_sequence_edit.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <string>

#include "connection/messenger.h"
#include "protocol/char_names.h"

namespace ravelfin {

namespace {

constexpr std::uint8_t kBackspaceCode = 0x08;

// The exact bytes beside the shown text: a name shared by two codes ("\esc", "\bs") and
// typed text that reads as a name would otherwise change on the way from box to box.
const QString kBytesMimeType = QStringLiteral("application/x-ravelfin-bytes");

// Set while a required box is telling the user it may not stay empty, so that the focus
// moving to the message does not make a second empty box complain as well.
bool complaining = false;

// The byte a key press types, if any. Control-letter combinations other than the editing
// keys type their control code (Ctrl+B is 0x02) whether or not the platform delivered it as
// text.
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

bool IsQuoteKey(const QKeyEvent& event) {
    return event.key() == Qt::Key_Q && (event.modifiers() & Qt::ControlModifier);
}

// Pressed on the way to the key that Ctrl+Q quotes.
bool IsModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Meta:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_Mode_switch:
            return true;
        default:
            return false;
    }
}

// The control byte of a key after Ctrl+Q, as a terminal's quoted insert gives it: @, the
// letters and [ \ ] ^ _ with or without Ctrl are 0x00 to 0x1F; a few keys send one.
bool QuotedByte(const QKeyEvent& event, std::uint8_t& code) {
    const int key = event.key();
    if (key >= Qt::Key_At && key <= Qt::Key_Underscore) {
        code = static_cast<std::uint8_t>(key - Qt::Key_At);
        return true;
    }
    switch (key) {
        case Qt::Key_Backspace:
            code = 0x08;
            return true;
        case Qt::Key_Tab:
            code = 0x09;
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            code = 0x0D;
            return true;
        case Qt::Key_Escape:
            code = 0x1B;
            return true;
        default:
            return false;
    }
}

// Text from outside keeps only what a box can show: characters of ISO 8859-1.
Bytes BytesOfShownText(const QString& text) {
    std::string latin1;
    for (const QChar c : text) {
        if (c.unicode() <= 0xFF)
            latin1 += static_cast<char>(c.unicode());
    }
    Bytes bytes;
    std::string unused;
    ParseNamedText(latin1, NamedTextForm::kShown, bytes, unused);
    return bytes;
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

void KeySequenceEdit::MoveTo(int index, bool extendSelection) {
    // The caret is the moving end of a selection; without one the anchor stands on it.
    caret_ = end_ = std::clamp(index, 0, static_cast<int>(bytes_.size()));
    if (!extendSelection)
        anchor_ = caret_;
    Refresh();
}

Bytes KeySequenceEdit::SelectedBytes() const {
    const int size = static_cast<int>(bytes_.size());
    const int from = std::clamp(std::min(anchor_, end_), 0, size);
    const int to = std::clamp(std::max(anchor_, end_), 0, size);
    return Bytes(bytes_.begin() + from, bytes_.begin() + to);
}

void KeySequenceEdit::CopySelection() {
    const Bytes selected = SelectedBytes();
    if (selected.empty())
        return;
    auto* data = new QMimeData;
    data->setText(QString::fromLatin1(BytesToDisplayText(selected)));
    data->setData(kBytesMimeType, QByteArray(reinterpret_cast<const char*>(selected.data()),
                                             static_cast<qsizetype>(selected.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

void KeySequenceEdit::CutSelection() {
    if (!HasSelection())
        return;
    CopySelection();
    DeleteSelection();
    Refresh();
    emit BytesChanged();
}

void KeySequenceEdit::Paste() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    Bytes pasted;
    if (data->hasFormat(kBytesMimeType)) {
        const QByteArray raw = data->data(kBytesMimeType);
        pasted.assign(raw.begin(), raw.end());
    } else if (data->hasText()) {
        pasted = BytesOfShownText(data->text());
    }
    if (pasted.empty())
        return;
    // All or nothing: a paste cut short would store a value the user never saw whole.
    const std::size_t kept = limit_ == 1 ? 0 : bytes_.size() - SelectedBytes().size();
    if (kept + pasted.size() > static_cast<std::size_t>(limit_)) {
        messenger_.ShowMessage("Exceed the maximum range.");
        return;
    }
    if (limit_ == 1) {
        bytes_.clear();
        caret_ = anchor_ = end_ = 0;
    } else if (HasSelection()) {
        DeleteSelection();
    }
    const int at = std::clamp(caret_, 0, static_cast<int>(bytes_.size()));
    bytes_.insert(bytes_.begin() + at, pasted.begin(), pasted.end());
    caret_ = anchor_ = end_ = at + static_cast<int>(pasted.size());
    Refresh();
    emit BytesChanged();
}

bool KeySequenceEdit::event(QEvent* event) {
    // A quoted key is the box's before a window shortcut or focus change (Tab) can take it.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (quoting_ || IsQuoteKey(*key)) {
            key->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && quoting_) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QLineEdit::event(event);
}

void KeySequenceEdit::keyPressEvent(QKeyEvent* event) {
    if (quoting_) {
        if (IsModifierKey(event->key()))
            return;
        quoting_ = false;
        // A key without a control byte does what it does unquoted.
        if (std::uint8_t code = 0; QuotedByte(*event, code)) {
            TypeCharacter(code);
            return;
        }
    } else if (IsQuoteKey(*event)) {
        quoting_ = true;
        return;
    }
    const int size = static_cast<int>(bytes_.size());
    if (event->matches(QKeySequence::SelectAll)) {
        anchor_ = 0;
        caret_ = end_ = size;
        Refresh();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        CutSelection();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const int selectionStart = std::min(anchor_, end_);
    const int selectionEnd = std::max(anchor_, end_);
    switch (event->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete: {
            const bool backspace = event->key() == Qt::Key_Backspace;
            if (HasSelection()) {
                DeleteSelection();
            } else if (backspace && caret_ > 0) {
                bytes_.erase(bytes_.begin() + --caret_);
                anchor_ = end_ = caret_;
            } else if (!backspace && caret_ < size) {
                bytes_.erase(bytes_.begin() + caret_);
            } else {
                return;
            }
            Refresh();
            emit BytesChanged();
            return;
        }
        // Without Shift, an arrow ends a selection at the side it points to.
        case Qt::Key_Left:
        case Qt::Key_Up:
            MoveTo(HasSelection() && !extend ? selectionStart : caret_ - 1, extend);
            return;
        case Qt::Key_Right:
        case Qt::Key_Down:
            MoveTo(HasSelection() && !extend ? selectionEnd : caret_ + 1, extend);
            return;
        case Qt::Key_Home:
            MoveTo(0, extend);
            return;
        case Qt::Key_End:
            MoveTo(size, extend);
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
    quoting_ = false;
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
