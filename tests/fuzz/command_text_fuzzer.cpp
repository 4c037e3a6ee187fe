// The raw command notation of the manual command page, and the page's send over a reader that
// answers with the fuzzer's bytes.

#include <algorithm>
#include <cstdlib>
#include <string>

#include "flows/manual_command.h"
#include "protocol/command_frame.h"
#include "protocol/interface_type.h"

namespace {

/// A reader whose answer is the input's tail.
class EchoTransport final : public ravelfin::ReaderTransport {
  public:
    bool GetFirmwareVersion(std::string&) override { return false; }
    bool OpenByIndex(int) override { return true; }
    bool Open(const std::string&) override { return true; }
    bool Close() override { return true; }
    bool Exchange(std::span<const std::uint8_t> send, std::span<std::uint8_t> recv,
                  std::size_t& recvLen) override {
        if (send.empty() || send.size() > ravelfin::kMaxManualCommand + 1)
            std::abort();
        recvLen = std::min(recv.size(), Answer.size());
        std::copy_n(Answer.begin(), recvLen, recv.begin());
        return recvLen > 0 && recv[0] == ravelfin::kAck;
    }
    int GetInterfaceType() const override { return ravelfin::kInterfaceUsbHid; }
    bool IsReady() const override { return true; }
    std::string GetDeviceName() const override { return ""; }
    std::string Answer;
};

class Quiet final : public ravelfin::Messenger, public ravelfin::Pause {
  public:
    void ShowMessage(const std::string&) override {}
    void ShowNotice(const std::string&) override {}
    void Wait(int) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ravelfin;
    // The command text up to the first zero byte, the reader's answer after it.
    const auto* zero = std::find(data, data + size, 0);
    const std::string text(data, zero);
    Bytes bytes;
    const CommandTextStatus status = ParseCommandText(text, kMaxManualCommand, bytes);
    if (bytes.size() > kMaxManualCommand)
        std::abort();
    if (status == CommandTextStatus::kOk && bytes.empty())
        std::abort();

    EchoTransport transport;
    if (zero != data + size)
        transport.Answer.assign(zero + 1, data + size);
    Quiet quiet;
    ManualCommand page;
    ReaderSettings settings;
    page.Send(text, FlowContext{&transport, DeviceAddress(0), quiet, quiet}, &settings);
    return 0;
}
