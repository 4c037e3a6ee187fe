#pragma once

#include "cli/command_line.h"

namespace ravelfin::cli {

/// `simulate --pty`: serves one simulated serial reader on a pseudo-terminal until SIGINT or
/// SIGTERM. The first line on standard output is the terminal's path.
int RunSimulate(const CommandLine& cl);

}  // namespace ravelfin::cli
