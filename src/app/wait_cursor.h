#pragma once

#include <QCursor>

namespace ravelfin {

/// Shows `shape` over every window of the program for the life of the object. Scopes nest:
/// the innermost shape shows.
///
/// While the innermost scope shows the wait cursor a reader conversation runs, and user
/// input to the program (keys, clicks, the wheel, touches) is discarded rather than
/// held back: a click made then must not act once the conversation is over. When such a
/// scope ends, input that arrived while the thread was busy is discarded too. A scope with
/// another shape inside it (a message that must be answered) lets input through again, and
/// so does a modal window opened during the conversation, to its own controls.
class CursorScope {
  public:
    explicit CursorScope(Qt::CursorShape shape);
    ~CursorScope();
    CursorScope(const CursorScope&) = delete;
    CursorScope& operator=(const CursorScope&) = delete;
};

/// The wait cursor while a reader conversation runs.
class WaitCursor final : public CursorScope {
  public:
    WaitCursor() : CursorScope(Qt::WaitCursor) {}
};

/// Whether user input is being discarded now (the innermost scope is a wait cursor).
bool DiscardingInput();

}  // namespace ravelfin
