#pragma once

#include "cli/command_line.h"
#include "cli/command_setup.h"
#include "cli/console.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// `watch [--apply FILE] [--count N] [--json]`: prints `TYPE:INDEX NAME (IDENTITY): arrived`
/// and `...: left` as readers come and go (--json: one object a line). With --apply, configures
/// each reader once per arrival on a worker of its own, and prints its result line as `apply`
/// does; --count ends the watch after N readers were configured. SIGINT and SIGTERM end it:
/// no reader is taken on from then, readers in the middle of a write finish it, the others
/// stop. Returns 0 when every reader it worked on was configured, 1 otherwise. Runs an event
/// loop: needs the application object.
int RunWatch(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
             const CommandSetup& setup);

}  // namespace ravelfin::cli
