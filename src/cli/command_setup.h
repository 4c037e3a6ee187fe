#pragma once

#include "fleet/fleet_runner.h"

namespace ravelfin::cli {

/// How the commands on readers run: the program waits for real and shows progress on a
/// terminal; the tests give fake pauses and a terminal of their choosing.
struct CommandSetup {
    /// A pause for each reader's worker.
    PauseFactory Pauses;
    /// The rows and columns of the terminal that standard output is; 0 rows when it is none
    /// (no progress lines then).
    int Rows = 0;
    int Columns = 80;
};

}  // namespace ravelfin::cli
