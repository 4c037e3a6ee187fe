#pragma once

#include <string>
#include <vector>

#include "transport/device_source.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// A reader named on the command line: `TYPE:INDEX` (the enumeration index within the
/// device's class), `TYPE:NAME` (a port name or device path), or by its identity,
/// `serial:SN` (its USB serial number) or `path:PORTPATH` (its USB port path such as 1-2.4,
/// or a serial port's stable name).
struct DeviceChoice {
    int Type = 0;      // 0 for a choice by identity until `ResolveIdentityChoice`
    int Index = -1;    // set for TYPE:INDEX
    std::string Name;  // set for TYPE:NAME
    std::string Serial;    // set for serial:SN
    std::string PortPath;  // set for path:PORTPATH
};

/// Reads a --device, --from or --to value. TYPE is rs232, usb-rs232, usb-hid-kb or usb-hid.
bool ParseDeviceOption(const std::string& text, DeviceChoice& out, std::string& error);

/// Turns a choice by identity into the attached reader's type and name. True at once for
/// other choices. False with a one-line `error` when no attached reader, or more than one,
/// has that serial number or port path.
bool ResolveIdentityChoice(DeviceSource& source, DeviceChoice& choice, std::string& error);

/// The option name of an interface type ("usb-hid" for 5), as `--device` takes it.
std::string InterfaceOptionName(int type);

/// The machine's device list with devices named on the command line added at the end of
/// their class when enumeration does not list them (a pseudo-terminal, say), so that they
/// get an index like any other device.
class NamedDeviceEnvironment final : public ReaderEnvironment, private DeviceSource {
public:
    explicit NamedDeviceEnvironment(ReaderEnvironment& machine) : machine_(machine) {}

    /// The enumeration index of the choice in its class, adding a named device if needed.
    int IndexOf(const DeviceChoice& choice);

    DeviceSource& Devices() override { return *this; }
    std::unique_ptr<HidDevice> CreateHidDevice() override { return machine_.CreateHidDevice(); }
    std::unique_ptr<SerialLink> CreateSerialLink() override { return machine_.CreateSerialLink(); }
    Pause& GetPause() override { return machine_.GetPause(); }

private:
    bool GetSerialPort(int index, SerialPortInfo& out) override;
    bool GetHidInterface(int index, HidInterfaceInfo& out) override;
    int SerialCount();
    int HidCount();

    ReaderEnvironment& machine_;
    std::vector<std::string> extraPorts_;
    std::vector<std::string> extraHid_;
};

}  // namespace ravelfin::cli
