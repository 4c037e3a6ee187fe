#pragma once

#include "cli/command_line.h"
#include "cli/command_setup.h"
#include "cli/console.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// Runs a checked command line (not --help or --version) as `ravelfin` does: the commands on
/// files, and those on the readers `machine` has. Returns the tool's exit code.
int RunCommand(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
               const CommandSetup& setup);

}  // namespace ravelfin::cli
