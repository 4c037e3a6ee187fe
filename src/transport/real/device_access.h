#pragma once

#include <string>

#include "transport/port_error.h"

namespace ravelfin {

/// Why a device node could not be opened, told apart before the backend library is asked:
/// NotFound when the node does not exist, PermissionDenied when this user may not read and
/// write it, None when it looks openable.
PortError CheckDeviceAccess(const std::string& path);

}  // namespace ravelfin
