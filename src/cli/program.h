#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/command_setup.h"
#include "cli/console.h"
#include "sim/simulated_environment.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// The readers a checked command line works on, or null when it cannot have them (having
/// said why).
using MachineMaker = std::function<ReaderEnvironment*(const CommandLine&)>;

/// Runs `ravelfin` on its arguments (without the program name): checks them, answers --help
/// and --version, and runs the command on the readers `machine` gives. Returns the exit code.
int RunProgram(const std::vector<std::string>& args, Console& console, const CommandSetup& setup,
               const MachineMaker& machine);

/// Adds the readers of each --simulate READER to `machine`; false, having said why, at the
/// first that names no reader.
bool AddSimulatedReaders(const CommandLine& cl, SimulatedEnvironment& machine, Console& console);

}  // namespace ravelfin::cli
