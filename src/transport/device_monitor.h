#pragma once

#include <functional>
#include <string>

namespace ravelfin {

/// A device that arrived or left: its class (a HID interface, addressed by its path, or a
/// serial port, addressed by its name) and, as far as the system tells, which reader it is.
struct DeviceEvent {
    enum class Change { Arrived, Left };

    Change What = Change::Arrived;
    bool Hid = true;   // true: a HID interface; false: a serial port
    std::string Name;  // the path or port name that `HidDevice::Open` / `SerialLink::Open` take
    /// The interface type: 3 or 5 for HID readers, 4 for a reader's USB serial port, 1 for a
    /// serial port without USB ids, 0 for other devices and for a departure of a device that
    /// was never seen arriving.
    int Type = 0;

    bool operator==(const DeviceEvent&) const = default;
};

/// Tells about devices arriving and leaving while it runs, so that a program can follow
/// readers being plugged in without polling the device lists.
///
/// Threads: the listener is called on the monitor's thread of events, one event at a time:
/// the real backend calls it from the event loop of the thread that started it, the simulated
/// one on the thread that plugs or unplugs a simulated reader. A consumer that wants events on
/// a thread of its own posts them there.
class DeviceMonitor {
  public:
    using Listener = std::function<void(const DeviceEvent&)>;

    virtual ~DeviceMonitor() = default;
    /// Starts reporting to `listener`. False with a one-line `error` when the system cannot
    /// report device changes; nothing is reported then.
    virtual bool Start(Listener listener, std::string& error) = 0;
    /// Stops reporting; no call of the listener begins after it returns. Harmless when stopped.
    virtual void Stop() = 0;
};

}  // namespace ravelfin
