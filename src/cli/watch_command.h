#pragma once

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/fleet_runner.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// `watch [--apply FILE] [--count N]`: prints `TYPE:INDEX NAME: arrived` and `...: left` as
/// readers come and go. With --apply, configures each reader once per arrival, on a thread of
/// its own, and prints its result line; --count ends the watch after N readers were
/// configured. SIGINT and SIGTERM end it with 0 once the readers in the middle of their
/// conversation are finished. Runs an event loop: needs the application object.
int RunWatch(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
             const FleetSetup& setup);

}  // namespace ravelfin::cli
