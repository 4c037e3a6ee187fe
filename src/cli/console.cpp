#include "cli/console.h"

#include <iostream>
#include <set>

#include "flows/flow_messages.h"
#include "protocol/text_encoding.h"

namespace ravelfin::cli {

namespace {
std::string ForTerminal(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return Latin1ToUtf8(out);
}
}  // namespace

void Console::Print(const std::string& text) {
    out_ << ForTerminal(text) << std::flush;
}

void Console::PrintUtf8(const std::string& text) {
    out_ << text << std::flush;
}

void Console::Error(const std::string& line) {
    err_ << ForTerminal(line) << '\n' << std::flush;
}

Console& StandardConsole() {
    static Console console(std::cout, std::cerr);
    return console;
}

bool IsFailureText(const std::string& text) {
    static const std::set<std::string> kFailures = {
        kOpenFailedText,         kWriteFailedText,      kTooLongText,
        kUnknownFuncIdsText,     kBasicSaveFailedText,  kAdvancedSaveFailedText,
        kLoadFailedText,         kDefaultsFailedText,   kReopenForReadFailedText,
        kRereadFailedText,       kSelectSourceText,     kSelectTargetText,
        kNoMemoryText,           kSourceOpenFailedText, kTargetOpenFailedText,
        kSourceReadFailedText,   kReadFirstText,        kCloneFailedText,
        kEmptyCommandText,       kInvalidCommandText,   kNotFramedText,
        kUnknownCommandText,     kCommandFailedText,    kBootLoaderFailedText,
        "ERROR Interface Type!",
    };
    return kFailures.count(text) > 0;
}

void ConsoleMessenger::ShowMessage(const std::string& text) {
    if (IsFailureText(text)) {
        console_.Error(text);
    } else {
        console_.Print(text + "\n");
    }
}

}  // namespace ravelfin::cli
