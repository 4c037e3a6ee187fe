#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "transport/hid_device.h"

struct hid_device_;

namespace ravelfin {

/// A HID interface through hidapi's hidraw backend. The ids and the feature-report length
/// come from sysfs (/sys/class/hidraw/<node>/device), which needs no privileges; the report
/// length from the report descriptor kept there.
///
/// hidraw has no query-only open: keyboard readers are opened like the others, but only
/// feature reports are ever exchanged with them, so their keystrokes still reach the desktop.
class HidapiDevice final : public HidDevice {
  public:
    HidapiDevice() = default;
    ~HidapiDevice() override;
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    bool Open(const std::string& path, Access access) override;
    void Close() override;
    bool IsOpen() const override { return device_ != nullptr; }
    bool GetAttributes(std::uint16_t& vendorId, std::uint16_t& productId) override;
    bool GetFeatureReportLength(std::size_t& length) override;
    bool SetFeature(std::span<const std::uint8_t> report) override;
    bool GetFeature(std::span<std::uint8_t> report) override;
    PortError LastError() const override { return lastError_; }

  private:
    hid_device_* device_ = nullptr;
    bool haveIds_ = false;
    std::uint16_t vendorId_ = 0;
    std::uint16_t productId_ = 0;
    std::size_t featureReportLength_ = 0;
    PortError lastError_ = PortError::None;
};

/// Held around hidapi's calls that touch the library's own state (initialising, enumerating,
/// opening and closing), so that readers worked on several threads can use it together.
std::mutex& HidapiLibraryMutex();

/// The vendor and product id in a hidraw node's uevent text (its HID_ID=bus:vendor:product
/// line, in hexadecimal). False when the line is missing or malformed.
bool ParseHidUevent(const std::string& uevent, std::uint16_t& vendorId, std::uint16_t& productId);

}  // namespace ravelfin
