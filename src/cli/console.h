#pragma once

#include <iosfwd>
#include <string>

namespace ravelfin::cli {

/// Exit codes of the tool: scripts rely on them.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

/// Where a command writes. Program text (ISO 8859-1 bytes, "\r\n" line ends) comes out as
/// UTF-8 with "\n" line ends. Safe from several threads: each call writes whole.
class Console {
  public:
    Console(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
    /// Text on standard output, as it stands (no line end added).
    void Print(const std::string& text);
    /// Text that is UTF-8 already (JSON made by Qt), on standard output unchanged.
    void PrintUtf8(const std::string& text);
    /// One line on standard error.
    void Error(const std::string& line);
    /// False once writing to standard output failed (a full disk, a closed pipe).
    bool OutputWritten() const;

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

}  // namespace ravelfin::cli
