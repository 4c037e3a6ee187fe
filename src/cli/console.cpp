#include "cli/console.h"

#include <iostream>
#include <mutex>

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

/// Held over each write, so that lines from several threads never mix.
std::mutex& WriteMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

void Console::Print(const std::string& text) {
    PrintUtf8(ForTerminal(text));
}

void Console::PrintUtf8(const std::string& text) {
    std::lock_guard lock(WriteMutex());
    out_ << text << std::flush;
}

void Console::Error(const std::string& line) {
    const std::string text = ForTerminal(line) + '\n';
    std::lock_guard lock(WriteMutex());
    err_ << text << std::flush;
}

bool Console::OutputWritten() const {
    std::lock_guard lock(WriteMutex());
    out_.flush();
    return !out_.fail();
}

Console& StandardConsole() {
    static Console console(std::cout, std::cerr);
    return console;
}

}  // namespace ravelfin::cli
