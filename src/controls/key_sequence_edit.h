#pragma once

#include <QLineEdit>
#include <cstdint>

#include "protocol/bytes.h"

namespace ravelfin {

class Messenger;

/// A single-line box in which a byte string is typed and shown with the names of its
/// non-printable bytes ("\stx", "\cr", ...). Caret and selection are byte indexes, so a
/// name is always selected, deleted and stepped over as one unit. The box handles every
/// key and character itself; the line edit's own editing never changes the text.
///
/// Keys: the usual editing keys (Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V and their platform
/// equivalents; Home, End, Shift with the arrows, Home or End). The clipboard receives the
/// shown text, with the names, and the exact bytes for another box; pasted text is read back
/// with `ParseNamedText`. Ctrl with another letter types that control byte, and Ctrl+Q
/// followed by a key types the control byte of that key (Ctrl+Q, A is 0x01; Ctrl+Q, Escape
/// is 0x1B), whatever the key would otherwise do.
class KeySequenceEdit final : public QLineEdit {
    Q_OBJECT
  public:
    static constexpr int kDefaultTextLimit = 4000;

    explicit KeySequenceEdit(Messenger& messenger, QWidget* parent = nullptr);

    /// Replaces the value, whole even where it is longer than the limit, and puts the caret
    /// at its end.
    void SetBytes(const Bytes& bytes);
    /// Copies the value into `out`.
    void GetBytes(Bytes& out) const { out = bytes_; }
    const Bytes& Value() const { return bytes_; }
    /// Empties the value; caret, anchor and selection end go to 0.
    void Clear();
    /// Inserts `code` at the caret as a pick from a list of character names would.
    void InsertCode(std::uint8_t code);
    /// The first byte, or 0 when the value is empty.
    std::uint8_t FirstByte() const { return bytes_.empty() ? 0 : bytes_.front(); }

    /// The greatest number of bytes typing or a pick may make the value.
    void SetTextLimit(int limit);
    int TextLimit() const { return limit_; }
    /// A required box complains and keeps the focus when it is left empty.
    void SetCharacterRequired(bool required) { required_ = required; }
    bool CharacterRequired() const { return required_; }

    int Caret() const { return caret_; }
    int SelectionAnchor() const { return anchor_; }
    int SelectionEnd() const { return end_; }

  signals:
    /// The value changed through typing, a pick, a paste, a cut or a deletion.
    void BytesChanged();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    bool HasSelection() const { return anchor_ != end_; }
    void DeleteSelection();
    void TypeCharacter(std::uint8_t code);
    bool InsertAtCaret(std::uint8_t code);
    void MoveTo(int index, bool extendSelection);
    Bytes SelectedBytes() const;
    void CopySelection();
    void CutSelection();
    void Paste();
    int ByteUnder(const QPoint& point);
    void ComplainIfEmpty();
    void Refresh();

    Messenger& messenger_;
    Bytes bytes_;
    int caret_ = 0;
    int anchor_ = 0;
    int end_ = 0;
    int limit_ = kDefaultTextLimit;
    bool required_ = false;
    // Ctrl+Q was pressed: the next key types its control byte.
    bool quoting_ = false;
};

}  // namespace ravelfin
