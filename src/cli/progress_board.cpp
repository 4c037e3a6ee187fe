#include "cli/progress_board.h"

#include <algorithm>

namespace ravelfin::cli {

namespace {
// ANSI terminal controls: cursor up and down by n lines, erase the line, erase to the end.
std::string Up(std::size_t n) {
    return "\x1b[" + std::to_string(n) + "A";
}
std::string Down(std::size_t n) {
    return "\x1b[" + std::to_string(n) + "B";
}
constexpr const char* kEraseLine = "\r\x1b[2K";
constexpr const char* kEraseBelow = "\r\x1b[J";

bool Ended(const std::string& step) {
    return step == "done" || step == "failed" || step == "stopped";
}
}  // namespace

ProgressBoard::ProgressBoard(Console& console, std::vector<std::string> labels, int rows,
                             int columns)
    : console_(console),
      labels_(std::move(labels)),
      steps_(labels_.size(), "waiting"),
      columns_(static_cast<std::size_t>(std::max(columns, 2))),
      // The lines and the cursor's own line must fit, or the top ones scroll off for good.
      counter_(labels_.size() + 1 > static_cast<std::size_t>(std::max(rows, 0))) {
    if (rows <= 0 || labels_.empty())
        return;
    std::string all;
    if (counter_) {
        all = Fit(CounterLine()) + "\n";
    } else {
        for (std::size_t i = 0; i < labels_.size(); ++i)
            all += Line(i) + "\n";
    }
    console_.Print(all);
    shown_ = true;
}

std::string ProgressBoard::Fit(const std::string& text) const {
    // One column short of the width: a full line would wrap on some terminals.
    return text.substr(0, columns_ - 1);
}

std::string ProgressBoard::Line(std::size_t reader) const {
    const std::string& step = steps_[reader];
    return Fit(labels_[reader] + ": " + step + (Ended(step) ? "" : " ..."));
}

std::string ProgressBoard::CounterLine() const {
    std::size_t ended = 0;
    std::size_t failed = 0;
    for (const std::string& step : steps_) {
        ended += Ended(step) ? 1 : 0;
        failed += step == "failed" ? 1 : 0;
    }
    return std::to_string(ended) + " of " + std::to_string(steps_.size()) + " readers done" +
           (failed > 0 ? ", " + std::to_string(failed) + " failed" : "") + " ...";
}

void ProgressBoard::Show(std::size_t reader, const std::string& step) {
    std::lock_guard lock(mutex_);
    if (reader >= steps_.size() || steps_[reader] == step)
        return;
    steps_[reader] = step;
    if (!shown_)
        return;
    if (counter_) {
        console_.Print(Up(1) + kEraseLine + Fit(CounterLine()) + Down(1) + "\r");
        return;
    }
    const std::size_t up = labels_.size() - reader;
    console_.Print(Up(up) + kEraseLine + Line(reader) + Down(up) + "\r");
}

void ProgressBoard::Note(const std::string& text) {
    std::lock_guard lock(mutex_);
    if (shown_) {
        console_.Print(std::string(kEraseLine) + Fit(text) + "\r");
    } else {
        console_.Error(text);
    }
}

void ProgressBoard::Clear() {
    std::lock_guard lock(mutex_);
    if (!shown_)
        return;
    console_.Print(Up(counter_ ? 1 : labels_.size()) + kEraseBelow);
    shown_ = false;
}

}  // namespace ravelfin::cli
