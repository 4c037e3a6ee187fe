#pragma once

#include <vector>

#include "cli/command_line.h"
#include "cli/command_setup.h"
#include "cli/console.h"
#include "fleet/fleet_runner.h"

namespace ravelfin::cli {

/// Runs `job` on `targets` as every command on readers does, one reader or many: progress
/// lines on a terminal (none with --json or --quiet), and SIGINT or SIGTERM stop it cleanly
/// (see `WorkerEnvironment`). The results come in the order of the targets.
struct ReaderRun {
    std::vector<ReaderResult> Results;
    bool Stopped = false;  // a signal asked to stop, whatever the readers made of it

    /// 0 when every reader succeeded and no stop was asked for, 1 otherwise.
    int ExitStatus() const;
};
ReaderRun RunReaders(ReaderEnvironment& machine, const std::vector<FleetTarget>& targets,
                     const ReaderJob& job, const CommandLine& cl, Console& console,
                     const CommandSetup& setup);

}  // namespace ravelfin::cli
