#pragma once

#include <QCursor>

namespace ravelfin {

/// Shows `shape` over every window of the program for the life of the object. Scopes nest:
/// the innermost shape shows.
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

}  // namespace ravelfin
