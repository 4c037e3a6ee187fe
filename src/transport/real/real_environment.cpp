#include "transport/real/real_environment.h"

#include "transport/real/hidapi_device.h"
#include "transport/real/qt_serial_link.h"
#include "transport/real/udev_device_monitor.h"

namespace ravelfin {

std::unique_ptr<HidDevice> RealEnvironment::CreateHidDevice() {
    return std::make_unique<HidapiDevice>();
}

std::unique_ptr<SerialLink> RealEnvironment::CreateSerialLink() {
    return std::make_unique<QtSerialLink>();
}

std::unique_ptr<DeviceMonitor> RealEnvironment::CreateDeviceMonitor() {
    return std::make_unique<UdevDeviceMonitor>();
}

}  // namespace ravelfin
