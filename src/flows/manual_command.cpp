#include "flows/manual_command.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <iterator>

#include "flows/flow_messages.h"
#include "protocol/command_frame.h"
#include "protocol/reader_operations.h"

namespace ravelfin {
namespace {

constexpr std::size_t kManualAnswerBuffer = 1024;
constexpr int kPauseBeforeReread = 700;

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

std::string Hex(const char* format, unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

CommandTextStatus ParseCommandText(std::string_view text, std::size_t capacity, Bytes& bytes) {
    bytes.clear();
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string_view rest = upper;
    const std::size_t first = rest.find('\\');
    if (first != std::string_view::npos)
        rest.remove_prefix(first + 1);
    while (true) {
        const std::size_t end = rest.find('\\');
        const std::string_view item = rest.substr(0, end);
        if (item.size() < 2 || item.size() > 3 || item[0] != 'X')
            return CommandTextStatus::kInvalid;
        if (bytes.size() == capacity)
            return CommandTextStatus::kTooLong;
        int value = HexDigit(item[1]);
        if (item.size() == 3)
            value = value * 16 + HexDigit(item[2]);
        bytes.push_back(static_cast<std::uint8_t>(value));
        if (end == std::string_view::npos)
            return CommandTextStatus::kOk;
        rest.remove_prefix(end + 1);
    }
}

void ManualCommand::Clear() {
    log_.clear();
    count_ = 0;
}

ManualCommandResult ManualCommand::Send(const std::string& typed, const FlowContext& context,
                                        ReaderSettings* settings,
                                        const std::function<void()>& refreshPages) {
    ReaderTransport* transport = context.Transport;
    const auto finish = [&](ManualCommandResult result) {
        if (transport)
            transport->Close();
        return result;
    };
    std::string text;
    std::copy_if(typed.begin(), typed.end(), std::back_inserter(text),
                 [](char c) { return c != ' ' && c != '\t'; });
    if (text.empty()) {
        context.Messages.ShowMessage(kEmptyCommandText);
        return finish(ManualCommandResult::kNotSent);
    }
    ++count_;
    Bytes command;
    const CommandTextStatus status = ParseCommandText(text, kMaxManualCommand, command);
    if (status != CommandTextStatus::kOk) {
        if (status == CommandTextStatus::kInvalid) {
            context.Messages.ShowMessage(kInvalidCommandText);
        }
        return finish(ManualCommandResult::kNotSent);
    }
    if (command.front() != kStx || command.back() != kEtx) {
        context.Messages.ShowMessage(kNotFramedText);
        return finish(ManualCommandResult::kNotSent);
    }
    const std::uint8_t lrc = ComputeLrc(command);
    command.push_back(lrc);
    log_ += (count_ == 1 ? "" : "\r\n") + std::to_string(count_) + ") Send Command:  " + text +
            Hex("\\x%x", lrc) + " ......\r\n";
    LogChanged();

    if (!OpenContextDevice(context))
        return ManualCommandResult::kOpenFailed;
    std::array<std::uint8_t, kManualAnswerBuffer> answer{};
    std::size_t received = 0;
    const bool ok = transport->Exchange(command, answer, received);
    received = std::min(received, answer.size());
    if (received > 0) {
        log_ += "Return From MSR (" + std::to_string(received) + "Bytes):  ";
        for (std::size_t i = 0; i < received; ++i)
            log_ += Hex("0x%02x ", answer[i]);
        LogChanged();
    }
    ManualCommandResult result = ManualCommandResult::kDone;
    if (!ok) {
        const bool refused = received > 0 && answer[0] == kRefused;
        context.Messages.ShowMessage(refused ? kUnknownCommandText : kCommandFailedText);
        result = refused ? ManualCommandResult::kUnknownCommand : ManualCommandResult::kFailed;
    } else if (command[1] == kSetLetter) {
        context.Waits.Wait(kPauseBeforeReread);
        if (settings && ReadAllSettings(*settings, transport) && refreshPages)
            refreshPages();
    }
    log_ += "\r\n";
    return finish(result);
}

}  // namespace ravelfin
