#pragma once

#include <iosfwd>
#include <string>

#include "connection/messenger.h"

namespace ravelfin::cli {

/// Exit codes of the tool: scripts rely on them.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

/// Where a command writes. Program text (ISO 8859-1 bytes, "\r\n" line ends) comes out as
/// UTF-8 with "\n" line ends.
class Console {
  public:
    Console(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
    /// Text on standard output, as it stands (no line end added).
    void Print(const std::string& text);
    /// Text that is UTF-8 already (JSON made by Qt), on standard output unchanged.
    void PrintUtf8(const std::string& text);
    /// One line on standard error.
    void Error(const std::string& line);

  private:
    std::ostream& out_;
    std::ostream& err_;
};

/// The process's standard output and standard error.
Console& StandardConsole();

inline void PrintText(const std::string& text) {
    StandardConsole().Print(text);
}
inline void PrintError(const std::string& line) {
    StandardConsole().Error(line);
}

/// Prints what the reader flows say, one message a line: failures and warnings on standard
/// error, everything else on standard output.
class ConsoleMessenger final : public Messenger {
  public:
    explicit ConsoleMessenger(Console& console) : console_(console) {}
    void ShowMessage(const std::string& text) override;
    void ShowNotice(const std::string& text) override { ShowMessage(text); }
    /// The reader chosen cannot be written to: always a failure.
    void OfferReaderSelection(const std::string& text) override { console_.Error(text); }

  private:
    Console& console_;
};

/// True for the flows' texts that report a failure or a warning.
bool IsFailureText(const std::string& text);

}  // namespace ravelfin::cli
