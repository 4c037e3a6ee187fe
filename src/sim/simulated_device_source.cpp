#include "sim/simulated_device_source.h"

namespace ravelfin {

namespace {

template <typename Entry>
bool Present(const Entry& entry) {
    return !entry.Gone && (entry.Reader == nullptr || entry.Reader->IsPlugged());
}

/// The `index`-th present entry, or nullptr.
template <typename List>
auto* NthPresent(List& list, int index) {
    if (index < 0)
        return static_cast<decltype(&list.front())>(nullptr);
    for (auto& entry : list) {
        if (Present(entry) && index-- == 0)
            return &entry;
    }
    return static_cast<decltype(&list.front())>(nullptr);
}

}  // namespace

bool SimulatedDeviceSource::GetSerialPort(int index, SerialPortInfo& out) {
    std::lock_guard lock(mutex_);
    const SerialPort* port = NthPresent(ports_, index);
    if (port == nullptr)
        return false;
    out = port->Info;
    return true;
}

bool SimulatedDeviceSource::GetHidInterface(int index, HidInterfaceInfo& out) {
    std::lock_guard lock(mutex_);
    const HidInterface* hid = NthPresent(interfaces_, index);
    if (hid == nullptr)
        return false;
    out = hid->Info;
    return true;
}

int SimulatedDeviceSource::AddSerialPort(const SerialPortInfo& info, SimulatedReader* reader) {
    std::lock_guard lock(mutex_);
    ports_.push_back({info, reader, false});
    return static_cast<int>(ports_.size()) - 1;
}

int SimulatedDeviceSource::AddHidInterface(const HidInterfaceInfo& info, SimulatedReader* reader,
                                           std::size_t featureReportLength) {
    std::lock_guard lock(mutex_);
    interfaces_.push_back({info, reader, featureReportLength, {}});
    return static_cast<int>(interfaces_.size()) - 1;
}

SimulatedDeviceSource::SerialPort* SimulatedDeviceSource::FindSerialPort(const std::string& name) {
    std::lock_guard lock(mutex_);
    for (SerialPort& port : ports_) {
        if (!port.Gone && port.Info.Name == name)
            return &port;
    }
    return nullptr;
}

SimulatedDeviceSource::HidInterface* SimulatedDeviceSource::FindHidInterface(
    const std::string& path) {
    std::lock_guard lock(mutex_);
    for (HidInterface& hid : interfaces_) {
        if (!hid.Gone && hid.Info.Path == path)
            return &hid;
    }
    return nullptr;
}

bool SimulatedDeviceSource::ClaimSerialPort(SerialPort& port) {
    std::lock_guard lock(mutex_);
    if (port.Open)
        return false;
    port.Open = true;
    return true;
}

void SimulatedDeviceSource::ReleaseSerialPort(SerialPort& port) {
    std::lock_guard lock(mutex_);
    port.Open = false;
}

void SimulatedDeviceSource::MoveHidInterface(const std::string& path, const std::string& newPath,
                                             std::uint16_t productId) {
    std::lock_guard lock(mutex_);
    for (HidInterface& hid : interfaces_) {
        if (hid.Gone || hid.Info.Path != path)
            continue;
        hid.Gone = true;
        HidInterface moved{hid.Info, hid.Reader, hid.FeatureReportLength, std::move(hid.Reports)};
        moved.Info.Path = newPath;
        moved.Info.ProductId = productId;
        interfaces_.push_back(std::move(moved));
        return;
    }
}

void SimulatedDeviceSource::RecordReport(HidInterface& hid, std::span<const std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    hid.Reports.emplace_back(report.begin(), report.end());
}

int SimulatedDeviceSource::SerialPortCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(ports_.size());
}

int SimulatedDeviceSource::HidInterfaceCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(interfaces_.size());
}

}  // namespace ravelfin
