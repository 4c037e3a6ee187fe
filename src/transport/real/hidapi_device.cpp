#include "transport/real/hidapi_device.h"

#include <hidapi/hidapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "transport/real/device_access.h"
#include "transport/report_descriptor.h"

namespace ravelfin {

namespace {

std::string SysfsDeviceDirectory(const std::string& path) {
    return "/sys/class/hidraw/" + std::filesystem::path(path).filename().string() + "/device/";
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    contents.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

}  // namespace

bool ParseHidUevent(const std::string& uevent, std::uint16_t& vendorId, std::uint16_t& productId) {
    std::istringstream lines(uevent);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("HID_ID=", 0) != 0)
            continue;
        unsigned bus = 0;
        unsigned long vendor = 0;
        unsigned long product = 0;
        char colon1 = 0;
        char colon2 = 0;
        std::istringstream fields(line.substr(7));
        fields >> std::hex >> bus >> colon1 >> vendor >> colon2 >> product;
        if (!fields || colon1 != ':' || colon2 != ':' || vendor > 0xFFFF || product > 0xFFFF) {
            return false;
        }
        vendorId = static_cast<std::uint16_t>(vendor);
        productId = static_cast<std::uint16_t>(product);
        return true;
    }
    return false;
}

std::mutex& HidapiLibraryMutex() {
    static std::mutex mutex;
    return mutex;
}

HidapiDevice::~HidapiDevice() {
    Close();
}

bool HidapiDevice::Open(const std::string& path, Access /*access*/) {
    Close();
    lastError_ = CheckDeviceAccess(path);
    if (lastError_ != PortError::None)
        return false;
    {
        std::lock_guard lock(HidapiLibraryMutex());
        if (hid_init() == 0)
            device_ = hid_open_path(path.c_str());
    }
    if (device_ == nullptr) {
        lastError_ = PortError::Failed;
        return false;
    }

    const std::string directory = SysfsDeviceDirectory(path);
    std::string text;
    haveIds_ =
        ReadWholeFile(directory + "uevent", text) && ParseHidUevent(text, vendorId_, productId_);
    if (!haveIds_) {
        if (const hid_device_info* info = hid_get_device_info(device_)) {
            vendorId_ = info->vendor_id;
            productId_ = info->product_id;
            haveIds_ = true;
        }
    }
    ReportDescriptor descriptor;
    if (ReadWholeFile(directory + "report_descriptor", text) &&
        descriptor.Parse(
            std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()))) {
        featureReportLength_ = descriptor.FeatureReportLength();
    }
    return true;
}

void HidapiDevice::Close() {
    if (device_) {
        std::lock_guard lock(HidapiLibraryMutex());
        hid_close(device_);
    }
    device_ = nullptr;
    haveIds_ = false;
    vendorId_ = productId_ = 0;
    featureReportLength_ = 0;
}

bool HidapiDevice::GetAttributes(std::uint16_t& vendorId, std::uint16_t& productId) {
    if (!device_ || !haveIds_)
        return false;
    vendorId = vendorId_;
    productId = productId_;
    return true;
}

bool HidapiDevice::GetFeatureReportLength(std::size_t& length) {
    if (!device_ || featureReportLength_ == 0)
        return false;
    length = featureReportLength_;
    return true;
}

bool HidapiDevice::SetFeature(std::span<const std::uint8_t> report) {
    if (!device_ || report.empty())
        return false;
    return hid_send_feature_report(device_, report.data(), report.size()) >= 0;
}

bool HidapiDevice::GetFeature(std::span<std::uint8_t> report) {
    if (!device_ || report.empty())
        return false;
    // hidapi returns how many bytes it filled, the report id included; the rest stays as
    // the caller cleared it.
    return hid_get_feature_report(device_, report.data(), report.size()) >= 0;
}

}  // namespace ravelfin
