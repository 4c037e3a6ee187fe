#pragma once

namespace ravelfin {

/// Every protocol pause goes through this seam, so that tests never wait on the clock and
/// the desktop program can keep its window painting while it waits.
class Pause {
public:
    virtual ~Pause() = default;
    virtual void Wait(int milliseconds) = 0;
    /// A wait for the reader to restart: long enough that the desktop program says what it is
    /// waiting for.
    virtual void WaitForRestart(int milliseconds) { Wait(milliseconds); }
};

/// Blocks the calling thread.
class SleepPause final : public Pause {
public:
    void Wait(int milliseconds) override;
};

}  // namespace ravelfin
