#pragma once

#include "transport/pause.h"

namespace ravelfin {

/// The desktop program's pause: it waits in a local event loop, so the windows keep
/// painting and timers keep running, while user input is held back until the wait is over
/// and the wait cursor shows.
class QtPause final : public Pause {
  public:
    void Wait(int milliseconds) override;
};

}  // namespace ravelfin
