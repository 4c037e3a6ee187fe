#pragma once

#include "transport/pause.h"

namespace ravelfin {

/// The desktop program's pause: it waits in a local event loop, so the windows keep
/// painting and timers keep running, under the wait cursor, which discards user input
/// meanwhile (see CursorScope).
class QtPause final : public Pause {
  public:
    void Wait(int milliseconds) override;
    /// Waits as Wait does, with a line that says the reader is restarting.
    void WaitForRestart(int milliseconds) override;
};

}  // namespace ravelfin
