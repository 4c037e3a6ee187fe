#include "transport/real/udev_device_monitor.h"

#include <QSocketNotifier>

#include <libudev.h>

#include <charconv>
#include <cstring>

#include "protocol/interface_type.h"
#include "transport/device_discovery.h"
#include "transport/real/hidapi_device.h"

namespace ravelfin {

namespace {

bool ParseHexId(const std::string& text, std::uint16_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

std::string Text(const char* value) {
    return value ? value : "";
}

}  // namespace

int UdevDeviceType(const std::string& subsystem, const std::string& hidId,
                   const std::string& usbVendor, const std::string& usbProduct) {
    if (subsystem == "hidraw") {
        std::uint16_t vendor = 0;
        std::uint16_t product = 0;
        if (!ParseHidUevent("HID_ID=" + hidId, vendor, product))
            return kInterfaceUnknown;
        return HidReaderType(vendor, product);
    }
    if (subsystem != "tty")
        return kInterfaceUnknown;
    if (usbVendor.empty() && usbProduct.empty())
        return kInterfaceRs232;
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    if (ParseHexId(usbVendor, vendor) && ParseHexId(usbProduct, product) &&
        vendor == kUsbSerialVendorId && product == kUsbSerialProductId) {
        return kInterfaceUsbRs232;
    }
    return kInterfaceUnknown;
}

UdevDeviceMonitor::UdevDeviceMonitor() = default;

UdevDeviceMonitor::~UdevDeviceMonitor() {
    Stop();
}

bool UdevDeviceMonitor::Start(Listener listener, std::string& error) {
    Stop();
    udev_ = udev_new();
    if (udev_)
        monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    const bool ready =
        monitor_ &&
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) >= 0 &&
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "tty", nullptr) >= 0 &&
        udev_monitor_enable_receiving(monitor_) >= 0;
    if (!ready) {
        error = std::string(
                    "cannot follow devices arriving and leaving: udev's monitor is not "
                    "available (") +
                std::strerror(errno) + ")";
        Stop();
        return false;
    }
    listener_ = std::move(listener);
    notifier_ =
        std::make_unique<QSocketNotifier>(udev_monitor_get_fd(monitor_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { ReadEvent(); });
    return true;
}

void UdevDeviceMonitor::Stop() {
    notifier_.reset();
    if (monitor_)
        udev_monitor_unref(monitor_);
    if (udev_)
        udev_unref(udev_);
    monitor_ = nullptr;
    udev_ = nullptr;
    listener_ = nullptr;
    arrivedTypes_.clear();
}

int UdevDeviceMonitor::ArrivalType(udev_device* device, bool hid) const {
    if (hid) {
        udev_device* parent = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
        return UdevDeviceType(
            "hidraw", parent ? Text(udev_device_get_property_value(parent, "HID_ID")) : "", "", "");
    }
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
    if (!usb)
        return UdevDeviceType("tty", "", "", "");
    return UdevDeviceType("tty", "", Text(udev_device_get_sysattr_value(usb, "idVendor")),
                          Text(udev_device_get_sysattr_value(usb, "idProduct")));
}

void UdevDeviceMonitor::ReadEvent() {
    if (!monitor_)
        return;
    udev_device* device = udev_monitor_receive_device(monitor_);
    if (!device)
        return;
    const std::string action = Text(udev_device_get_action(device));
    const std::string node = Text(udev_device_get_devnode(device));
    const bool hid = Text(udev_device_get_subsystem(device)) == "hidraw";
    DeviceEvent event;
    event.Hid = hid;
    event.Name = node;
    bool report = !node.empty();
    if (action == "add") {
        event.What = DeviceEvent::Change::Arrived;
        event.Type = ArrivalType(device, hid);
        arrivedTypes_[node] = event.Type;
    } else if (action == "remove") {
        event.What = DeviceEvent::Change::Left;
        const auto seen = arrivedTypes_.find(node);
        if (seen != arrivedTypes_.end()) {
            event.Type = seen->second;
            arrivedTypes_.erase(seen);
        }
    } else {
        report = false;  // change, bind, ...: the device stays where it is
    }
    udev_device_unref(device);
    if (!report || !listener_)
        return;
    // A copy: the listener may stop the monitor, which drops `listener_`.
    const Listener listener = listener_;
    listener(event);
}

}  // namespace ravelfin
