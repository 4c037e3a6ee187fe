#pragma once

#include <memory>

#include "transport/device_monitor.h"
#include "transport/device_source.h"
#include "transport/hid_device.h"
#include "transport/pause.h"
#include "transport/serial_link.h"

namespace ravelfin {

/// Everything the transports need from the machine: the list of attached devices, a way to
/// open HID interfaces and serial ports, and the pause. The real environment talks to hidapi
/// and the serial ports; the simulated one to in-process simulated readers.
class ReaderEnvironment {
  public:
    virtual ~ReaderEnvironment() = default;
    virtual DeviceSource& Devices() = 0;
    /// A closed HID device port; the transport opens it by path.
    virtual std::unique_ptr<HidDevice> CreateHidDevice() = 0;
    /// A closed serial link port; the transport opens it by name.
    virtual std::unique_ptr<SerialLink> CreateSerialLink() = 0;
    virtual Pause& GetPause() = 0;
    /// A stopped monitor of readers arriving and leaving; nullptr when this machine cannot
    /// report them.
    virtual std::unique_ptr<DeviceMonitor> CreateDeviceMonitor() { return nullptr; }
    /// Told of a pause of `milliseconds` made through a pause other than `GetPause`'s (a
    /// worker's own, when readers are worked in parallel), so that a machine whose time is
    /// counted in pauses lets it pass. Nothing to do for a real machine.
    virtual void PauseTimePassed(int /*milliseconds*/) {}
};

}  // namespace ravelfin
