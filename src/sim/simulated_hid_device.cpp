#include "sim/simulated_hid_device.h"

#include <algorithm>

#include "protocol/command_frame.h"

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
    collector_.Reset();
    answer_.clear();
    pollsBeforeAnswer_ = 0;
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
    if (!Usable(report.size()) || report[0] != 0)
        return false;
    SimulatedReader& reader = *device_->Reader;
    if (!reader.IsPlugged() || reader.ConsumeSetReportFailure())
        return false;
    source_.RecordReport(*device_, report);
    collector_.Add(report.subspan(1));
    Bytes frame;
    while (collector_.Take(frame)) {
        answer_ = reader.Answer(frame);
        pollsBeforeAnswer_ = reader.AnswerDelayPolls();
    }
    return true;
}

bool SimulatedHidDevice::GetFeature(std::span<std::uint8_t> report) {
    if (!Usable(report.size()) || report[0] != 0)
        return false;
    // A frame still incomplete when the host asks for the answer will never be finished.
    collector_.Reset();
    const std::span<std::uint8_t> payload = report.subspan(1);
    std::fill(payload.begin(), payload.end(), 0);
    if (pollsBeforeAnswer_ > 0) {
        --pollsBeforeAnswer_;
        payload[0] = kNak;
        return true;
    }
    if (!answer_.empty()) {
        const std::size_t count = std::min(payload.size(), answer_.size());
        std::copy_n(answer_.begin(), count, payload.begin());
        answer_.erase(answer_.begin(), answer_.begin() + static_cast<std::ptrdiff_t>(count));
        return true;
    }
    if (!device_->Reader->IsPlugged())
        return false;
    payload[0] = kNak;
    return true;
}

}  // namespace ravelfin
