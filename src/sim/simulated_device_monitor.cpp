#include "sim/simulated_device_monitor.h"

#include <utility>

#include "sim/simulated_environment.h"

namespace ravelfin {

bool SimulatedDeviceMonitor::Start(Listener listener, std::string& error) {
    if (!listener) {
        error = "a device monitor needs a listener";
        return false;
    }
    Stop();
    environment_.Subscribe(this, std::move(listener));
    running_ = true;
    return true;
}

void SimulatedDeviceMonitor::Stop() {
    if (!running_)
        return;
    environment_.Unsubscribe(this);
    running_ = false;
}

}  // namespace ravelfin
