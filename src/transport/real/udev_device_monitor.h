#pragma once

#include <map>
#include <memory>
#include <string>

#include "transport/device_monitor.h"

class QSocketNotifier;
struct udev;
struct udev_device;
struct udev_monitor;

namespace ravelfin {

/// Readers arriving and leaving as udev announces them: HID interfaces (`hidraw`) and serial
/// ports (`tty`), read from udev's netlink socket through a QSocketNotifier, so the listener
/// is called from the event loop of the thread that started the monitor. Only events that
/// udev has finished processing arrive, so the device node carries its permissions by then.
class UdevDeviceMonitor final : public DeviceMonitor {
  public:
    UdevDeviceMonitor();
    ~UdevDeviceMonitor() override;
    UdevDeviceMonitor(const UdevDeviceMonitor&) = delete;
    UdevDeviceMonitor& operator=(const UdevDeviceMonitor&) = delete;

    bool Start(Listener listener, std::string& error) override;
    void Stop() override;

  private:
    void ReadEvent();
    int ArrivalType(udev_device* device, bool hid) const;

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    std::unique_ptr<QSocketNotifier> notifier_;
    Listener listener_;
    std::map<std::string, int> arrivedTypes_;  // so that a departure can say what left
};

/// The interface type of a device that udev announced: for `hidraw` from the HID_ID property
/// of its HID parent ("0003:00003A1D:00004206"), for `tty` from the idVendor and idProduct
/// of its USB parent (hexadecimal; both empty for a port without a USB parent). 0 for
/// anything that is not a reader.
int UdevDeviceType(const std::string& subsystem, const std::string& hidId,
                   const std::string& usbVendor, const std::string& usbProduct);

}  // namespace ravelfin
