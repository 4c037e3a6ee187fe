#pragma once

namespace ravelfin {

/// Why a device port could not be opened or used. The command-line tool and the desktop
/// program turn `PermissionDenied` into advice about the udev rule.
enum class PortError {
    None,
    NotFound,          // no such device (unplugged, wrong name)
    PermissionDenied,  // the device exists but this user may not open it
    Busy,              // another program holds the device
    Failed,            // anything else: configuration or input/output failure
};

}  // namespace ravelfin
