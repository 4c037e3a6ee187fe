#include "transport/serial_transport.h"

#include <array>

#include "protocol/command_frame.h"
#include "protocol/interface_type.h"
#include "transport/device_discovery.h"
#include "transport/version_answer.h"

namespace ravelfin {

namespace {

constexpr int kAnswerPauseMs = 1000;
constexpr int kSilenceMs = 1000;
// The silence is waited for in short steps through the pause, so that the desktop program
// keeps its window painting while the reader is quiet.
constexpr int kSilenceStepMs = 10;

}  // namespace

SerialTransport::SerialTransport(int type, ReaderEnvironment& environment)
    : Type(type == kInterfaceUsbRs232 ? kInterfaceUsbRs232 : kInterfaceRs232),
      environment_(environment),
      link_(environment.CreateSerialLink()) {}

SerialTransport::~SerialTransport() {
    Close();
}

bool SerialTransport::OpenByIndex(int deviceIndex) {
    DeviceIndex = deviceIndex;
    std::string name;
    GetPortName(environment_.Devices(), deviceIndex, name);
    return Open(name);
}

bool SerialTransport::Open(const std::string& deviceName) {
    if (deviceName.empty() || !link_) return false;
    if (!link_->Open(deviceName)) {
        lastOpenError_ = link_->LastError();
        PortName.clear();  // a port opened before was closed by the attempt
        return false;
    }
    lastOpenError_ = PortError::None;
    PortName = deviceName;
    return true;
}

bool SerialTransport::Close() {
    if (link_ && link_->IsOpen()) link_->Close();
    PortName.clear();
    return true;
}

bool SerialTransport::GetFirmwareVersion(std::string& out) {
    out.clear();
    if (!FirmwareVersionText.empty()) {
        out = FirmwareVersionText;
        return true;
    }
    if (!link_ || !link_->IsOpen()) {
        if (!OpenByIndex(DeviceIndex)) return false;
    }
    std::string text;
    const bool exchanged = ExchangeVersionCommand(*this, text);
    Close();
    if (!exchanged) return false;
    FirmwareVersionText = text;
    out = FirmwareVersionText;
    return !FirmwareVersionText.empty();
}

SerialLink::ReadResult SerialTransport::ReadWithinSilence(std::uint8_t& byte) {
    for (int waited = 0;; waited += kSilenceStepMs) {
        const SerialLink::ReadResult result = link_->ReadByte(byte, 0);
        if (result != SerialLink::ReadResult::Timeout || waited >= kSilenceMs) return result;
        environment_.GetPause().Wait(kSilenceStepMs);
    }
}

bool SerialTransport::Exchange(std::span<const std::uint8_t> send, std::span<std::uint8_t> recv,
                               std::size_t& recvLen) {
    recvLen = 0;
    if (!link_) return false;
    if (exchanging_.exchange(true)) return false;
    struct Done {
        std::atomic<bool>& flag;
        ~Done() { flag = false; }
    } done{exchanging_};
    // Whatever is still waiting (the rest of an answer cut at the capacity, a late answer)
    // belongs to no frame of ours and would lead this answer.
    link_->PurgeReceive();
    if (!link_->Write(send)) return false;
    environment_.GetPause().Wait(kAnswerPauseMs);
    std::size_t received = 0;
    for (;;) {
        std::uint8_t byte = 0;
        const SerialLink::ReadResult result = ReadWithinSilence(byte);
        if (result == SerialLink::ReadResult::Timeout) link_->PurgeReceive();
        if (result != SerialLink::ReadResult::Byte) break;
        if (received == recv.size()) break;
        recv[received++] = byte;
    }
    recvLen = received;
    return received > 0 && recv[0] == kAck;
}

}  // namespace ravelfin
