#pragma once

#include "cli/command_line.h"
#include "cli/command_setup.h"
#include "cli/console.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// `diff A B [--json]` with two files: prints `NAME: A-VALUE -> B-VALUE` for every setting
/// that differs, with the names of `show --json`; --json prints them as one object
/// {NAME: {"a": ..., "b": ...}}.
///
/// `diff FILE reader:DEVICE` (or the other way round; `reader:` alone for the only USB reader),
/// or `diff FILE` with the readers of --device and --all: compares each reader with the file as
/// that reader stores it, and only the settings the reader holds (see `CompareWithReader`); a
/// result line per reader ("same", "N settings differ") with the differing settings below it
/// in the order of the arguments, and a summary. --json: one object per reader with "match"
/// and "differences", a list of {"name", "file", "reader"}.
///
/// Returns 0 when nothing differs, 1 when something does, 2 when a file does not load or a
/// reader does not answer.
int RunDiff(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
            const CommandSetup& setup);

}  // namespace ravelfin::cli
