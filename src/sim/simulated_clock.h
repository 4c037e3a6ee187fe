#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace ravelfin {

class SimulatedEnvironment;

/// Runs a simulated machine's clock in real time on a thread of its own, so that its readers
/// arrive and leave at their arrive= and leave= times. Monitors hear of the changes on that
/// thread.
class SimulatedClock {
  public:
    explicit SimulatedClock(SimulatedEnvironment& environment) : environment_(environment) {}
    /// Stops the clock.
    ~SimulatedClock();
    SimulatedClock(const SimulatedClock&) = delete;
    SimulatedClock& operator=(const SimulatedClock&) = delete;

    /// Time 0 is now. The thread ends by itself once nothing is left to happen.
    void Start();
    /// Stops the clock; no change happens after it returns. Not to be called by a listener.
    void Stop();

  private:
    void Run();

    SimulatedEnvironment& environment_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace ravelfin
