#include <gtest/gtest.h>

#include <sstream>

#include "cli/progress_board.h"

namespace ravelfin::cli {
namespace {

// Three readers: a line each while they and the cursor's own line fit the rows, one counting
// line otherwise; every line cut one column short of the width; a step rewrites its reader's
// line in place, and clearing goes back up over everything shown.
TEST(ProgressBoard, LinesFitTheTerminalWithSeveralReaders) {
    const struct {
        int rows, columns;
        std::string out, err;
    } cases[] = {
        {4, 9,
         "a: waiti\nb: waiti\nc: waiti\n"
         "\x1b[2A\r\x1b[2Kb: faile\x1b[2B\r"
         "\r\x1b[2KStopping\r"
         "\x1b[3A\r\x1b[J",
         ""},
        {3, 30,
         "0 of 3 readers done ...\n"
         "\x1b[1A\r\x1b[2K1 of 3 readers done, 1 failed\x1b[1B\r"
         "\r\x1b[2KStopping\r"
         "\x1b[1A\r\x1b[J",
         ""},
        {0, 30, "", "Stopping\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        Console console(out, err);
        ProgressBoard board(console, {"a", "b", "c"}, c.rows, c.columns);
        board.Show(1, "failed");
        board.Show(1, "failed");  // no change: nothing printed
        board.Note("Stopping");
        board.Clear();
        EXPECT_EQ(out.str(), c.out) << c.rows << " rows";
        EXPECT_EQ(err.str(), c.err) << c.rows << " rows";
    }
}

}  // namespace
}  // namespace ravelfin::cli
