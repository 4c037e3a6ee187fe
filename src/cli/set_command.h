#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "cli/command_line.h"
#include "cli/console.h"
#include "protocol/reader_settings.h"

namespace ravelfin::cli {

/// `set FILE NAME=VALUE... [--firmware TEXT]`: changes settings of a configuration file by
/// their `show --json` names and saves it (atomically, through a symbolic link to its target;
/// not at all when it would come out the same), keeping the FuncIDs the file was saved with
/// unless --firmware names other firmware. Prints `NAME: OLD -> NEW` per change. An
/// unknown name, a value the setting cannot hold or a byte string longer than its setting
/// allows is refused with 2 and a one-line message; the file is then left alone.
int RunSet(const CommandLine& cl, Console& console);

/// Changes the setting of `record` that `NAME=VALUE` names; false with a one-line `error`
/// for what `set` refuses.
bool AssignSetting(const std::string& assignment, ReaderSettings& record, std::string& error);

/// The firmware version whose encoding gives a file the FuncIDs it holds: 4.3 with the beep
/// mode, a version above 4.25 with security settings, above 3.32 with the Custom2 block, 3.0
/// otherwise.
double StoredFirmware(std::span<const std::uint8_t> file);

}  // namespace ravelfin::cli
