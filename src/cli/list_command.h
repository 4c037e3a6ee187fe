#pragma once

#include "cli/command_line.h"
#include "cli/command_setup.h"
#include "cli/console.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// `list [--json] [--probe-serial | --no-probe]`: one line (or JSON object) per attached
/// reader, with the firmware that the readers it may open tell, asked of all at once. A plain
/// RS-232 port may have anything on it (a modem, a scale, a printer) that the read command
/// would disturb: it is asked only when named with --device, or with --probe-serial.
int RunList(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
            const CommandSetup& setup);

}  // namespace ravelfin::cli
