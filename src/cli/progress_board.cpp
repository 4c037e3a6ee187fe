#include "cli/progress_board.h"

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
}  // namespace

ProgressBoard::ProgressBoard(Console& console, std::vector<std::string> labels, bool on)
    : console_(console), labels_(std::move(labels)), steps_(labels_.size(), "waiting"), on_(on) {
    if (!on_ || labels_.empty())
        return;
    std::string all;
    for (std::size_t i = 0; i < labels_.size(); ++i)
        all += Line(i) + "\n";
    console_.Print(all);
    shown_ = true;
}

std::string ProgressBoard::Line(std::size_t line) const {
    const bool ended = steps_[line] == "done" || steps_[line] == "failed";
    return labels_[line] + ": " + steps_[line] + (ended ? "" : " ...");
}

void ProgressBoard::Show(std::size_t line, const std::string& step) {
    std::lock_guard lock(mutex_);
    if (line >= steps_.size() || steps_[line] == step)
        return;
    steps_[line] = step;
    if (!shown_)
        return;
    const std::size_t up = labels_.size() - line;
    console_.Print(Up(up) + kEraseLine + Line(line) + Down(up) + "\r");
}

void ProgressBoard::Clear() {
    std::lock_guard lock(mutex_);
    if (!shown_)
        return;
    console_.Print(Up(labels_.size()) + kEraseBelow);
    shown_ = false;
}

}  // namespace ravelfin::cli
