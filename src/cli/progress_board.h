#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "cli/console.h"

namespace ravelfin::cli {

/// What readers are doing, on a terminal, updated in place while they are worked on several
/// threads: one line per reader, each showing the step its reader is in, cut to the width of
/// the terminal; or, when there are more readers than the terminal has rows for, one line that
/// counts them. Off, it prints nothing at all, so that piped output holds only the results.
class ProgressBoard {
  public:
    /// `labels` start the lines ("usb-hid:0 /dev/hidraw3"); shown at once when the terminal
    /// has rows (0 rows: off). Below the lines the cursor rests on a line of its own.
    ProgressBoard(Console& console, std::vector<std::string> labels, int rows, int columns);
    /// Shows `step` for reader `reader`; "done", "failed" and "stopped" end it. Safe from any
    /// thread.
    void Show(std::size_t reader, const std::string& step);
    /// A line below the readers' (stopping, say); on standard error when the board is off.
    void Note(const std::string& text);
    /// Takes everything off the screen, leaving the cursor where the board began.
    void Clear();

  private:
    std::string Line(std::size_t reader) const;
    std::string CounterLine() const;
    std::string Fit(const std::string& text) const;

    Console& console_;
    std::vector<std::string> labels_;
    std::vector<std::string> steps_;
    std::size_t columns_;
    bool counter_;
    bool shown_ = false;
    std::mutex mutex_;
};

}  // namespace ravelfin::cli
