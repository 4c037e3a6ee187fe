// The raw command notation of the manual command page, and the page's send over a reader that
// answers with the fuzzer's bytes.

#include <algorithm>
#include <cstdlib>
#include <string>

#include "flows/manual_command.h"
#include "protocol/command_frame.h"
#include "support/scripted_transport.h"

namespace {

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

    // A reader whose every answer is the input's tail.
    testing::ExchangeLog log;
    testing::ScriptedTransport transport(log);
    const Bytes answer = zero != data + size ? Bytes(zero + 1, data + size) : Bytes{};
    transport.Otherwise = {!answer.empty() && answer[0] == kAck, answer};
    Quiet quiet;
    ManualCommand page;
    ReaderSettings settings;
    page.Send(text, FlowContext{&transport, DeviceAddress(0), quiet, quiet}, &settings);
    for (const Bytes& frame : log.frames) {
        if (frame.empty() || frame.size() > kMaxManualCommand + 1)
            std::abort();
    }
    return 0;
}
