#pragma once

#include <chrono>

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

/// Blocks the calling thread, and keeps a run of waits to the clock: the scheduler wakes a
/// thread a little late, and over the hundred 10 ms steps in which a serial link listens for
/// a second of silence that lateness would add up (the more so, the more threads wait). A
/// wait that follows the previous one within its own length starts where that one was due;
/// any other starts now. For one thread: each reader's worker has its own.
class SteadySleepPause final : public Pause {
public:
    void Wait(int milliseconds) override;

private:
    std::chrono::steady_clock::time_point due_{};
};

}  // namespace ravelfin
