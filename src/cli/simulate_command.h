#pragma once

#include "cli/command_line.h"

namespace ravelfin::cli {

/// `simulate --pty | --uhid TYPE[,OPTIONS]... | --usb-serial`: serves simulated readers on a
/// pseudo-terminal, as HID devices through /dev/uhid, or on a USB serial gadget, until SIGINT
/// or SIGTERM, and takes down what it made. Standard output gets the node that programs open
/// (each HID device's, as it appears).
int RunSimulate(const CommandLine& cl);

}  // namespace ravelfin::cli
