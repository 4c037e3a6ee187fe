#include "cli/console.h"

#include <cstdio>

#include "protocol/text_encoding.h"

namespace ravelfin::cli {

namespace {
std::string WithUnixLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}
}  // namespace

void PrintText(const std::string& text) {
    const std::string utf8 = Latin1ToUtf8(WithUnixLineEnds(text));
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void PrintError(const std::string& line) {
    const std::string utf8 = Latin1ToUtf8(WithUnixLineEnds(line));
    std::fprintf(stderr, "%s\n", utf8.c_str());
}

void ConsoleMessenger::ShowMessage(const std::string& text) { PrintText(text + "\n"); }

void ConsoleMessenger::ShowNotice(const std::string& text) { PrintText(text + "\n"); }

}  // namespace ravelfin::cli
