#include "transport/pause.h"

#include <thread>

namespace ravelfin {

void SleepPause::Wait(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SteadySleepPause::Wait(int milliseconds) {
    if (milliseconds <= 0) return;
    const auto now = std::chrono::steady_clock::now();
    const auto length = std::chrono::milliseconds(milliseconds);
    const auto start = now - due_ < length ? due_ : now;
    due_ = start + length;
    std::this_thread::sleep_until(due_);
}

}  // namespace ravelfin
