#include "protocol/reader_operations.h"

#include <algorithm>
#include <array>

#include "protocol/command_frame.h"
#include "protocol/settings_encoder.h"
#include "protocol/settings_parser.h"

namespace ravelfin {
namespace {

bool Ready(const ReaderTransport* transport) { return transport && transport->IsReady(); }

/// Sends a short command frame; `answer` receives the reply and `answerLength` its size.
bool ExchangeShort(ReaderTransport& transport, std::uint8_t funcId, std::span<std::uint8_t> answer,
                   std::size_t& answerLength) {
    std::array<std::uint8_t, kShortFrameBuffer> frame{};
    std::size_t length = 0;
    if (!BuildCommandFrame(funcId, {}, frame, length)) return false;
    answerLength = 0;
    const bool ok = transport.Exchange(std::span(frame).first(length), answer, answerLength);
    answerLength = std::min(answerLength, answer.size());
    return ok;
}

using Encoder = bool (*)(const ReaderSettings&, std::span<std::uint8_t>, std::size_t&);

int WriteFrame(const ReaderSettings& record, ReaderTransport* transport, Encoder encode,
               std::size_t limit) {
    if (!Ready(transport)) return kWriteFailed;
    std::array<std::uint8_t, kSettingsBuffer> frame{};
    std::size_t length = 0;
    // With a full settings buffer an encoder fails only for content that cannot be framed.
    if (!encode(record, frame, length) || length > limit) return kWriteTooLong;

    std::array<std::uint8_t, kWriteAnswerBuffer> answer{};
    std::size_t answerLength = 0;
    if (transport->Exchange(std::span(frame).first(length), answer, answerLength)) return kWriteOk;
    return answerLength > 0 && answer[0] == kRefused ? kWriteRefused : kWriteFailed;
}

}  // namespace

bool ReadAllSettings(ReaderSettings& record, ReaderTransport* transport) {
    if (!Ready(transport)) return false;
    std::array<std::uint8_t, kSettingsBuffer> answer{};
    std::size_t answerLength = 0;
    if (!ExchangeShort(*transport, kFuncReadAll, answer, answerLength)) return false;
    // Parse into a copy: an answer that fails half way must not leave a half-read record.
    ReaderSettings read = record;
    if (!ParseSettingsAnswer(std::span(answer).first(answerLength), read)) return false;
    record = read;
    return true;
}

int WriteGeneralSettings(const ReaderSettings& record, ReaderTransport* transport) {
    return WriteFrame(record, transport, EncodeGeneralSettings, kMaxGeneralFrame);
}

int WriteCloneSettings(const ReaderSettings& record, ReaderTransport* transport) {
    return WriteFrame(record, transport, EncodeCloneSettings, kMaxGeneralFrame);
}

int WriteDataEditSettings(const ReaderSettings& record, ReaderTransport* transport) {
    return WriteFrame(record, transport, EncodeDataEditFrame, kMaxDataEditFrame);
}

bool RestoreFactoryDefaults(ReaderTransport* transport) {
    if (!Ready(transport)) return false;
    std::array<std::uint8_t, kWriteAnswerBuffer> answer{};
    std::size_t answerLength = 0;
    return ExchangeShort(*transport, kFuncSetDefaults, answer, answerLength);
}

}  // namespace ravelfin
