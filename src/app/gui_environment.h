#pragma once

#include "transport/reader_environment.h"

namespace ravelfin {

/// The machine as the desktop program sees it: the devices and ports of another
/// environment, with the desktop program's own pause.
class GuiEnvironment final : public ReaderEnvironment {
public:
    GuiEnvironment(ReaderEnvironment& devices, Pause& pause) : devices_(devices), pause_(pause) {}

    DeviceSource& Devices() override { return devices_.Devices(); }
    std::unique_ptr<HidDevice> CreateHidDevice() override { return devices_.CreateHidDevice(); }
    std::unique_ptr<SerialLink> CreateSerialLink() override { return devices_.CreateSerialLink(); }
    Pause& GetPause() override { return pause_; }

private:
    ReaderEnvironment& devices_;
    Pause& pause_;
};

}  // namespace ravelfin
