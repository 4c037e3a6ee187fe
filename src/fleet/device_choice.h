#pragma once

#include <string>

#include "transport/device_source.h"

namespace ravelfin {

/// A reader named on the command line: `TYPE:INDEX` (the enumeration index within the
/// device's class), `TYPE:NAME` (a port name or device path), or by its identity,
/// `serial:SN` (its USB serial number) or `path:PORTPATH` (its USB port path such as 1-2.4,
/// or a serial port's stable name).
struct DeviceChoice {
    int Type = 0;          // 0 for a choice by identity until `ResolveIdentityChoice`
    int Index = -1;        // set for TYPE:INDEX
    std::string Name;      // set for TYPE:NAME
    std::string Serial;    // set for serial:SN
    std::string PortPath;  // set for path:PORTPATH
};

/// Reads a --device, --from or --to value. TYPE is rs232, usb-rs232, usb-hid-kb or usb-hid.
/// False with a one-line `error` for anything else.
bool ParseDeviceOption(const std::string& text, DeviceChoice& out, std::string& error);

/// Turns a choice by identity into the attached reader's type, index and name. True at once
/// for other choices. False with a one-line `error` when no attached reader, or more than
/// one, has that serial number or port path.
bool ResolveIdentityChoice(DeviceSource& source, DeviceChoice& choice, std::string& error);

/// The option name of an interface type ("usb-hid" for 5), as `--device` takes it.
std::string InterfaceOptionName(int type);

}  // namespace ravelfin
