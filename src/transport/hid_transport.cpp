#include "transport/hid_transport.h"

#include <algorithm>
#include <array>
#include <vector>

#include "protocol/command_frame.h"
#include "protocol/interface_type.h"
#include "transport/device_discovery.h"
#include "transport/version_answer.h"

namespace ravelfin {

namespace {

constexpr int kSetAttempts = 3;
constexpr int kSetRetryPauseMs = 10;
constexpr int kAnswerPauseMs = 1000;
constexpr int kGetAttempts = 3;
constexpr int kGetRetryPauseMs = 200;

enum class Attempt { NoData, Empty, Data };

/// A report that says nothing: NAK in the first payload byte, zeros after it.
bool IsEmptyReport(std::span<const std::uint8_t> report) {
    return report[1] == kNak &&
           std::all_of(report.begin() + 2, report.end(), [](std::uint8_t b) { return b == 0; });
}

}  // namespace

HidTransport::HidTransport(int type, ReaderEnvironment& environment)
    : Type(type == kInterfaceUsbHidKb ? kInterfaceUsbHidKb : kInterfaceUsbHid),
      environment_(environment),
      device_(environment.CreateHidDevice()) {}

HidTransport::~HidTransport() {
    Close();
}

bool HidTransport::OpenByIndex(int deviceIndex) {
    if (Opened) return true;
    DeviceIndex = deviceIndex;
    std::string path;
    if (!GetHidDevicePath(environment_.Devices(), deviceIndex, path)) return false;
    Opened = Open(path);
    return Opened;
}

bool HidTransport::Open(const std::string& deviceName) {
    if (deviceName.empty() || !device_) return false;
    // Device paths are compared exactly: they are case-sensitive here.
    if (device_->IsOpen() && DevicePath == deviceName) return true;
    if (device_->IsOpen()) Close();

    const auto access =
        Type == kInterfaceUsbHidKb ? HidDevice::Access::None : HidDevice::Access::ReadWrite;
    if (!device_->Open(deviceName, access)) {
        lastOpenError_ = device_->LastError();
        return false;
    }
    lastOpenError_ = PortError::None;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::size_t length = 0;
    const bool accepted =
        device_->GetAttributes(vendorId, productId) && HidReaderType(vendorId, productId) == Type;
    if (accepted) ProductId = productId;
    if (!accepted || !device_->GetFeatureReportLength(length) || length == 0) {
        device_->Close();
        return false;
    }
    FeatureReportLength = length;
    DevicePath = deviceName;
    return true;
}

bool HidTransport::Close() {
    if (device_) device_->Close();
    FeatureReportLength = 0;
    DevicePath.clear();
    Opened = false;
    return true;
}

bool HidTransport::GetFirmwareVersion(std::string& out) {
    out.clear();
    if (!FirmwareVersionText.empty()) {
        out = FirmwareVersionText;
        return true;
    }
    if (!device_ || !device_->IsOpen()) {
        if (!OpenByIndex(DeviceIndex)) return false;
    }
    std::string text;
    if (!ExchangeVersionCommand(*this, text)) return false;  // the device stays open
    Close();
    FirmwareVersionText = text;
    out = FirmwareVersionText;
    return !FirmwareVersionText.empty();
}

bool HidTransport::SendReports(std::span<const std::uint8_t> send, std::span<std::uint8_t> report) {
    const std::size_t payload = report.size() - 1;
    for (std::size_t offset = 0; offset < send.size(); offset += payload) {
        std::fill(report.begin(), report.end(), 0);
        const std::size_t count = std::min(payload, send.size() - offset);
        std::copy_n(send.begin() + static_cast<std::ptrdiff_t>(offset), count, report.begin() + 1);
        bool sent = false;
        for (int attempt = 0; attempt < kSetAttempts && !sent; ++attempt) {
            sent = device_->SetFeature(report);
            if (!sent) environment_.GetPause().Wait(kSetRetryPauseMs);
        }
        if (!sent) return false;
    }
    return true;
}

bool HidTransport::Exchange(std::span<const std::uint8_t> send, std::span<std::uint8_t> recv,
                            std::size_t& recvLen) {
    recvLen = 0;
    if (!device_ || !device_->IsOpen() || FeatureReportLength < 2) return false;
    std::vector<std::uint8_t> report(FeatureReportLength);
    const std::size_t payload = report.size() - 1;
    Pause& pause = environment_.GetPause();

    if (!SendReports(send, report)) return false;
    pause.Wait(kAnswerPauseMs);

    std::size_t received = 0;
    for (;;) {
        Attempt attempt = Attempt::NoData;
        for (int tries = 0; tries < kGetAttempts; ++tries) {
            std::fill(report.begin(), report.end(), 0);
            if (!device_->GetFeature(report)) {
                attempt = Attempt::NoData;
            } else if (IsEmptyReport(report)) {
                attempt = Attempt::Empty;
            } else {
                attempt = Attempt::Data;
                break;
            }
            pause.Wait(kGetRetryPauseMs);
        }
        if (received + payload > recv.size()) {
            recvLen = received;
            return false;
        }
        // After the answer, the reader's "nothing more" report is not part of it; when it
        // answered nothing at all, that NAK report is the answer.
        if (!(attempt == Attempt::Empty && received > 0)) {
            std::copy(report.begin() + 1, report.end(),
                      recv.begin() + static_cast<std::ptrdiff_t>(received));
            received += payload;
        }
        if (attempt != Attempt::Data) break;
    }
    recvLen = received;
    if (send.size() > 1 && send[1] == kSetLetter) return received > 0 && recv[0] == kAck;
    return true;
}

}  // namespace ravelfin
