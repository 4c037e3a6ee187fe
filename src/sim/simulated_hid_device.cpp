#include "sim/simulated_hid_device.h"

namespace ravelfin {

bool SimulatedHidDevice::Open(const std::string& path, Access /*access*/) {
    Close();
    SimulatedDeviceSource::HidInterface* device = source_.FindHidInterface(path);
    if (device == nullptr || (device->Reader && !device->Reader->IsPlugged())) {
        lastError_ = PortError::NotFound;
        return false;
    }
    if (device->Reader && device->Reader->Fault() == SimulatedFault::PortBusy) {
        lastError_ = PortError::Busy;
        return false;
    }
    lastError_ = PortError::None;
    device_ = device;
    ++device_->OpenHandles;
    if (device_->Reader)
        reports_.emplace(*device_->Reader);
    return true;
}

void SimulatedHidDevice::Close() {
    // A reader told to reset does so once the host lets go of it.
    SimulatedReader* reader = device_ ? device_->Reader : nullptr;
    if (device_)
        --device_->OpenHandles;
    device_ = nullptr;
    if (reader)
        reader->EndSession();
    reports_.reset();
}

bool SimulatedHidDevice::GetAttributes(std::uint16_t& vendorId, std::uint16_t& productId) {
    if (!device_)
        return false;
    vendorId = device_->Info.VendorId;
    productId = device_->Info.ProductId;
    return true;
}

bool SimulatedHidDevice::GetFeatureReportLength(std::size_t& length) {
    if (!device_ || device_->FeatureReportLength == 0)
        return false;
    length = device_->FeatureReportLength;
    return true;
}

bool SimulatedHidDevice::Usable(std::size_t reportLength) const {
    // Like the platform's HID services, only whole reports of the described length pass.
    return device_ && device_->Reader && reportLength == device_->FeatureReportLength &&
           reportLength >= 2;
}

bool SimulatedHidDevice::SetFeature(std::span<const std::uint8_t> report) {
    if (!Usable(report.size()) || report[0] != 0 || !reports_->Set(report.subspan(1)))
        return false;
    source_.RecordReport(*device_, report);
    return true;
}

bool SimulatedHidDevice::GetFeature(std::span<std::uint8_t> report) {
    if (!Usable(report.size()) || report[0] != 0)
        return false;
    return reports_->Get(report.subspan(1));
}

}  // namespace ravelfin
