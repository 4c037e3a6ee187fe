#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "flows/flow_context.h"
#include "protocol/bytes.h"
#include "protocol/reader_settings.h"

namespace ravelfin {

/// Longest command a user may type, without its LRC.
inline constexpr std::size_t kMaxManualCommand = 513;

enum class CommandTextStatus { kOk, kInvalid, kTooLong };

/// Reads the escape notation of a typed command ("\x2\x52\x22\x3"), from which spaces and
/// tabs were already removed. Case does not matter. Reading starts at the first backslash (a
/// text without one is read as one item); each item is "X" and one or two hexadecimal digits,
/// a character that is not a digit counting as 0. Returns kInvalid for an empty item, one not
/// starting with X, or one with no or more than two digits; kTooLong past `capacity` bytes;
/// `bytes` then holds what was read so far.
CommandTextStatus ParseCommandText(std::string_view text, std::size_t capacity, Bytes& bytes);

enum class ManualCommandResult {
    kNotSent,  // empty, malformed or unframed text; nothing was opened
    kOpenFailed,
    kFailed,          // the exchange failed
    kUnknownCommand,  // the reader refused the command (answer 0x16)
    kDone,
};

/// The manual command page without its widgets: one typed command at a time goes to the
/// reader with its LRC, and a running log shows what went out and what came back, in lines
/// ending "\r\n".
class ManualCommand {
  public:
    /// Sends one typed command. Shows kEmptyCommandText, kInvalidCommandText (nothing for a
    /// command over kMaxManualCommand bytes), kNotFramedText, kOpenFailedText,
    /// kUnknownCommandText or kCommandFailedText as the result says. After an accepted set
    /// command ('S' as second byte) waits 700 ms, reads the settings into `settings` (when
    /// given) and on success calls `refreshPages`. The device is closed on return.
    ManualCommandResult Send(const std::string& typed, const FlowContext& context,
                             ReaderSettings* settings,
                             const std::function<void()>& refreshPages = {});
    /// "Clr S/R Data": empties the log and restarts the numbering.
    void Clear();

    const std::string& Log() const { return log_; }
    /// Called each time the log has grown during a send: once the command is logged, before
    /// the reader is opened, and once an answer is, before any message about it.
    void SetLogChanged(std::function<void()> changed) { logChanged_ = std::move(changed); }
    /// Send attempts with a non-empty text since creation or the last Clear.
    int CommandCount() const { return count_; }

  private:
    void LogChanged() const {
        if (logChanged_)
            logChanged_();
    }

    std::string log_;
    std::function<void()> logChanged_;
    int count_ = 0;
};

}  // namespace ravelfin
