#pragma once

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/fleet_runner.h"
#include "protocol/bytes.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// True when the command works on several readers: report, apply or defaults with --all or
/// more than one --device; clone with --to-all or more than one --to.
bool IsFleetCommand(const CommandLine& cl);

/// Runs such a command on every reader it names at once, one thread per reader, and prints a
/// result line per reader and a summary. Returns the tool's exit code.
int RunFleetCommand(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
                    const FleetSetup& setup);

/// The whole configuration file, read once for every reader; false when it cannot be read
/// or is no configuration file.
bool ReadConfigurationFile(const std::string& path, Bytes& bytes);

}  // namespace ravelfin::cli
