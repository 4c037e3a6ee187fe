#pragma once

#include "cli/command_line.h"
#include "cli/console.h"

namespace ravelfin::cli {

/// `show FILE`: the settings report (or JSON) of a configuration file.
int RunShow(const CommandLine& cl, Console& console);
/// `convert IN OUT --firmware TEXT`: re-saves a configuration for other firmware.
int RunConvert(const CommandLine& cl, Console& console);
/// `new FILE --firmware TEXT [--force]`: saves the factory defaults for that firmware.
int RunNew(const CommandLine& cl, Console& console);

/// Maps rs232, ps2, usb-hid-kb, usb-rs232, usb-hid to the interface types 1 to 5; 0 otherwise.
int ParseInterfaceName(const std::string& name);

}  // namespace ravelfin::cli
