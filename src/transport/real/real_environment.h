#pragma once

#include "transport/reader_environment.h"
#include "transport/real/real_device_source.h"

namespace ravelfin {

/// The machine itself: hidapi, Qt Serial Port and their device lists.
class RealEnvironment final : public ReaderEnvironment {
  public:
    /// Pauses block the calling thread.
    RealEnvironment() : pause_(ownPause_) {}
    /// Pauses go to `pause` (the desktop program keeps its window painting).
    explicit RealEnvironment(Pause& pause) : pause_(pause) {}
    RealEnvironment(const RealEnvironment&) = delete;
    RealEnvironment& operator=(const RealEnvironment&) = delete;

    DeviceSource& Devices() override { return source_; }
    std::unique_ptr<HidDevice> CreateHidDevice() override;
    std::unique_ptr<SerialLink> CreateSerialLink() override;
    Pause& GetPause() override { return pause_; }
    /// A udev monitor; its listener is called from the starting thread's event loop.
    std::unique_ptr<DeviceMonitor> CreateDeviceMonitor() override;

  private:
    SleepPause ownPause_;
    Pause& pause_;
    RealDeviceSource source_;
};

}  // namespace ravelfin
