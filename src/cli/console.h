#pragma once

#include <string>

#include "connection/messenger.h"

namespace ravelfin::cli {

/// Exit codes of the tool: scripts rely on them.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

/// Writes program text (ISO 8859-1 bytes, "\r\n" line ends) as UTF-8 with "\n" line ends.
void PrintText(const std::string& text);
/// One line on standard error, in UTF-8.
void PrintError(const std::string& line);

/// Prints what the reader flows say: messages and notices on standard output, except those
/// the flow marks as failures, which the command prints to standard error itself.
class ConsoleMessenger final : public Messenger {
public:
    void ShowMessage(const std::string& text) override;
    void ShowNotice(const std::string& text) override;
};

}  // namespace ravelfin::cli
