#pragma once

#include <string>
#include <vector>

#include "transport/device_source.h"
#include "transport/reader_identity.h"

namespace ravelfin::cli {

/// One reader of a command that works on several: how it is attached and where it was found
/// when the command started. Its worker opens it by that name, so devices arriving or leaving
/// meanwhile do not move it.
struct FleetTarget {
    int Type = 0;
    bool Hid = false;
    int Index = -1;    // its index in its class when listed; -1 for a named device not listed
    std::string Name;  // the path or port name
    HidInterfaceInfo HidInfo;
    SerialPortInfo SerialInfo;

    /// TYPE:INDEX as --device takes it, or TYPE:NAME for a device that is not listed.
    std::string Label() const;
    /// Which reader it is, from the description taken when it was listed.
    ReaderIdentity Identity() const { return Hid ? IdentityOf(HidInfo) : IdentityOf(SerialInfo); }
};

/// The readers that `--device` (repeated) and `--all` name, in that order, each once: the
/// named devices first, then every USB HID reader attached (keyboard or not). Serial ports
/// are only ever named: probing ports that are not readers is not safe. False with a one-line
/// `error` for a --device value that is no device.
bool ResolveFleetTargets(const std::vector<std::string>& devices, bool all, DeviceSource& source,
                         std::vector<FleetTarget>& out, std::string& error);

/// The target for a device listed at `index` of its class (HID or serial), found by name.
/// False when the class lists no device of that name.
bool FindListedTarget(DeviceSource& source, bool hid, const std::string& name, int type,
                      FleetTarget& out);

/// The same, found by identity: the reader wherever it is listed now, under whatever name
/// (a reader that restarted has a new node). False when no device of the class, or more than
/// one, has that identity. `out.Type` is left as it was.
bool FindTargetByIdentity(DeviceSource& source, bool hid, const ReaderIdentity& identity,
                          FleetTarget& out);

}  // namespace ravelfin::cli
