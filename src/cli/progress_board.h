#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "cli/console.h"

namespace ravelfin::cli {

/// One line per reader on a terminal, each showing the step its reader is in and updated in
/// place while the readers are worked on several threads. Off, it prints nothing at all, so
/// that piped output holds only the results.
class ProgressBoard {
  public:
    /// `labels` start the lines ("usb-hid:0 /dev/hidraw3"); shown at once when `on`.
    ProgressBoard(Console& console, std::vector<std::string> labels, bool on);
    /// Shows `step` on the line of reader `line`. Safe from any thread.
    void Show(std::size_t line, const std::string& step);
    /// Takes the lines off the screen, leaving the cursor where the first one was.
    void Clear();

  private:
    std::string Line(std::size_t line) const;

    Console& console_;
    std::vector<std::string> labels_;
    std::vector<std::string> steps_;
    bool on_;
    bool shown_ = false;
    std::mutex mutex_;
};

}  // namespace ravelfin::cli
