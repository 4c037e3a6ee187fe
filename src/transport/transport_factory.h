#pragma once

#include <memory>

#include "transport/reader_environment.h"
#include "transport/reader_transport.h"

namespace ravelfin {

/// A closed transport for the interface type: serial for 1 and 4, HID for 3 and 5;
/// nullptr for every other type (0 unknown, 2 PS/2 keyboard, out of range).
std::unique_ptr<ReaderTransport> MakeTransport(int type, ReaderEnvironment& environment);

}  // namespace ravelfin
