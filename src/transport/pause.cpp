#include "transport/pause.h"

#include <chrono>
#include <thread>

namespace ravelfin {

void SleepPause::Wait(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace ravelfin
