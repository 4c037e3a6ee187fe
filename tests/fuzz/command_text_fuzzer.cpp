// The raw command notation of the manual command page, and the page's send over a reader that
// answers with the fuzzer's bytes.

#include <algorithm>
#include <cstdlib>
#include <string>

#include "flows/flow_fakes.h"
#include "flows/manual_command.h"
#include "protocol/command_frame.h"

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
    testing::Rig rig;
    const Bytes answer = zero != data + size ? Bytes(zero + 1, data + size) : Bytes{};
    rig.reader.Otherwise = {!answer.empty() && answer[0] == kAck, answer};
    ManualCommand page;
    ReaderSettings settings;
    page.Send(text, rig.Context(), &settings);
    for (const Bytes& frame : rig.rec.frames) {
        if (frame.empty() || frame.size() > kMaxManualCommand + 1)
            std::abort();
    }
    return 0;
}
