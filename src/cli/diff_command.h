#pragma once

#include "cli/command_line.h"
#include "cli/console.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// `diff A B [--json]`: A and B are configuration files or `reader:DEVICE` (`reader:` alone
/// for the only USB reader). Prints `NAME: A-VALUE -> B-VALUE` for every setting that differs,
/// with the names of `show --json`; --json prints them as one object. A file compared with a
/// reader is taken as that reader's firmware would store it. Returns 0 when nothing differs,
/// 1 when something does, 2 when a file does not load or a reader does not answer.
int RunDiff(const CommandLine& cl, ReaderEnvironment& machine, Console& console);

/// True when `argument` names a reader (`reader:...`) rather than a file.
bool NamesReader(const std::string& argument);

}  // namespace ravelfin::cli
