#pragma once

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/command_setup.h"
#include "cli/console.h"
#include "fleet/fleet_target.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// `report`, `save`, `apply`, `defaults`, `send` and `clone`, on one reader or many alike: a
/// result line per reader and a summary (see `PrintResults`). Returns the tool's exit code.
int RunReaderCommand(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
                     const CommandSetup& setup);

/// The readers a command works on (see `ResolveTargets`), from one look at the machine's
/// devices; false after saying on standard error why there are none.
bool TargetsOf(const TargetRequest& request, ReaderEnvironment& machine, Console& console,
               std::vector<FleetTarget>& targets);

}  // namespace ravelfin::cli
