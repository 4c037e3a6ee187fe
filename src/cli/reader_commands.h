#pragma once

#include "cli/command_line.h"
#include "cli/console.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// The commands that talk to readers. Each returns the tool's exit code.
int RunList(const CommandLine& cl, ReaderEnvironment& machine, Console& console);
int RunReport(const CommandLine& cl, ReaderEnvironment& machine, Console& console);
int RunSave(const CommandLine& cl, ReaderEnvironment& machine, Console& console);
int RunApply(const CommandLine& cl, ReaderEnvironment& machine, Console& console);
int RunDefaults(const CommandLine& cl, ReaderEnvironment& machine, Console& console);
int RunSend(const CommandLine& cl, ReaderEnvironment& machine, Console& console);
int RunClone(const CommandLine& cl, ReaderEnvironment& machine, Console& console);

}  // namespace ravelfin::cli
