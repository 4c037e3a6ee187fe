#include "transport/real/sysfs_usb_place.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "transport/reader_identity.h"

namespace ravelfin {

namespace fs = std::filesystem;

UsbPlace ReadUsbPlace(const std::string& sysfsDevice) {
    UsbPlace place;
    std::error_code error;
    const std::string real = fs::canonical(sysfsDevice, error).string();
    if (error)
        return place;
    place.PortPath = UsbPortPathOf(real);
    if (place.PortPath.empty())
        return place;
    // The USB device's directory is the path up to the last component named so.
    const std::size_t at = real.rfind("/" + place.PortPath + "/");
    const std::string usbDevice =
        at == std::string::npos ? real : real.substr(0, at + 1 + place.PortPath.size());
    std::ifstream serial(usbDevice + "/serial");
    std::getline(serial, place.SerialNumber);
    return place;
}

UsbPlace HidPlaceOfUevent(const std::string& uevent) {
    UsbPlace place;
    std::istringstream lines(uevent);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("HID_PHYS=", 0) == 0)
            place.PortPath = line.substr(9);
        else if (line.rfind("HID_UNIQ=", 0) == 0)
            place.SerialNumber = line.substr(9);
    }
    return place;
}

UsbPlace ReadHidPlace(const std::string& sysfsDevice) {
    const UsbPlace usb = ReadUsbPlace(sysfsDevice);
    if (!usb.PortPath.empty())
        return usb;
    std::ifstream uevent(sysfsDevice + "/uevent");
    std::stringstream text;
    text << uevent.rdbuf();
    return HidPlaceOfUevent(text.str());
}

std::string StableSerialName(const std::string& node) {
    std::error_code error;
    const fs::path target = fs::canonical(node, error);
    if (error)
        return "";
    for (const char* folder : {"/dev/serial/by-id", "/dev/serial/by-path"}) {
        for (const fs::directory_entry& link : fs::directory_iterator(folder, error)) {
            std::error_code linkError;
            if (fs::canonical(link.path(), linkError) == target && !linkError)
                return link.path().string();
        }
    }
    return "";
}

}  // namespace ravelfin
