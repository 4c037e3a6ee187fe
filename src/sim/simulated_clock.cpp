#include "sim/simulated_clock.h"

#include <chrono>

#include "sim/simulated_environment.h"

namespace ravelfin {

SimulatedClock::~SimulatedClock() {
    Stop();
}

void SimulatedClock::Start() {
    Stop();
    stopping_ = false;
    thread_ = std::thread([this] { Run(); });
}

void SimulatedClock::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void SimulatedClock::Run() {
    const auto start = std::chrono::steady_clock::now();
    std::unique_lock lock(mutex_);
    for (int due = environment_.NextScheduledMs(); due >= 0; due = environment_.NextScheduledMs()) {
        if (wake_.wait_until(lock, start + std::chrono::milliseconds(due),
                             [this] { return stopping_; })) {
            return;
        }
        // Not under the lock: a listener that takes long must not hold up Stop's request.
        lock.unlock();
        environment_.AdvanceClock(due);
        lock.lock();
    }
}

}  // namespace ravelfin
