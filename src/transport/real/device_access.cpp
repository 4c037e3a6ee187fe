#include "transport/real/device_access.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace ravelfin {

PortError CheckDeviceAccess(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return errno == EACCES ? PortError::PermissionDenied : PortError::NotFound;
    }
    if (::access(path.c_str(), R_OK | W_OK) != 0) {
        return errno == EACCES || errno == EPERM ? PortError::PermissionDenied : PortError::Failed;
    }
    return PortError::None;
}

}  // namespace ravelfin
