#include "transport/version_answer.h"

#include <array>

#include "protocol/command_frame.h"
#include "transport/reader_transport.h"

namespace ravelfin {

std::string VersionTextFromAnswer(std::span<const std::uint8_t> answer) {
    std::string text;
    if (answer.size() <= 4)
        return text;
    std::size_t start = 0;
    for (std::size_t i = 0; i < answer.size() && start == 0; ++i) {
        if (answer[i] == kStx)
            start = i + 1;
    }
    if (start == 0)
        return text;
    const std::size_t end = answer.size() - 2;
    std::size_t i = start;
    // An answer cut short before its ETX keeps the text received. A zero byte ends the text
    // too: a HID answer is padded with zeros to whole reports.
    for (; i < end && answer[i] != kEtx && answer[i] != 0; ++i) {
        text.push_back(static_cast<char>(answer[i]));
    }
    return text;
}

bool ExchangeVersionCommand(ReaderTransport& transport, std::string& text) {
    text.clear();
    std::array<std::uint8_t, kShortFrameBuffer> frame{};
    std::size_t frameLength = 0;
    if (!BuildCommandFrame(kFuncReadVersion, {}, frame, frameLength))
        return false;
    std::array<std::uint8_t, 128> answer{};
    std::size_t answerLength = 0;
    if (!transport.Exchange(std::span(frame).first(frameLength), answer, answerLength)) {
        return false;
    }
    text = VersionTextFromAnswer(std::span(answer).first(answerLength));
    return true;
}

}  // namespace ravelfin
