#pragma once

#include "transport/device_monitor.h"

namespace ravelfin {

class SimulatedEnvironment;

/// Hears of the simulated readers that a `SimulatedEnvironment` plugs in and pulls out. The
/// listener is called on the thread that plugs or unplugs, while the change happens.
class SimulatedDeviceMonitor final : public DeviceMonitor {
  public:
    explicit SimulatedDeviceMonitor(SimulatedEnvironment& environment)
        : environment_(environment) {}
    ~SimulatedDeviceMonitor() override { Stop(); }
    SimulatedDeviceMonitor(const SimulatedDeviceMonitor&) = delete;
    SimulatedDeviceMonitor& operator=(const SimulatedDeviceMonitor&) = delete;

    bool Start(Listener listener, std::string& error) override;
    void Stop() override;

  private:
    SimulatedEnvironment& environment_;
    bool running_ = false;
};

}  // namespace ravelfin
