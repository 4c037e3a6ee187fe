#include "flows/boot_loader.h"

#include <array>

#include "flows/flow_messages.h"
#include "protocol/command_frame.h"

namespace ravelfin {
namespace {
constexpr std::string_view kBootLoaderPassword = "QX PLOR 3904417265";
constexpr std::uint8_t kEnterBootLoader = 0xFF;
}  // namespace

bool IsBootLoaderPassword(std::string_view typed) {
    return typed == kBootLoaderPassword;
}

bool SetBootLoaderMode(const FlowContext& context) {
    std::array<std::uint8_t, kShortFrameBuffer> frame{};
    std::size_t length = 0;
    const std::array<std::uint8_t, 1> data{kEnterBootLoader};
    if (!BuildCommandFrame(kFuncBootLoader, data, frame, length)) {
        context.Messages.ShowMessage(kBootLoaderFailedText);
        return false;
    }
    ReaderTransport* transport = OpenContextDevice(context);
    if (!transport)
        return false;
    std::array<std::uint8_t, kWriteAnswerBuffer> answer{};
    std::size_t received = 0;
    const bool ok = transport->Exchange(std::span(frame).first(length), answer, received);
    context.Messages.ShowMessage(ok ? kBootLoaderSetText : kBootLoaderFailedText);
    transport->Close();
    return ok;
}

}  // namespace ravelfin
