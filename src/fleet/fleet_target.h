#pragma once

#include <string>
#include <vector>

#include "transport/device_discovery.h"
#include "transport/device_source.h"
#include "transport/reader_identity.h"

namespace ravelfin {

/// One reader a command works on: how it is attached and where it was found when the command
/// started. Its worker opens it by that name, so devices arriving or leaving meanwhile do not
/// move it.
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

/// The readers a command is asked to work on.
struct TargetRequest {
    std::vector<std::string> Devices;  // --device values, in order
    bool All = false;                  // --all
};

/// The readers that `request` names, in that order, each once: the --device readers first,
/// then with --all every USB HID reader attached (keyboard or not; serial ports are only ever
/// named: probing ports that are not readers is not safe). Without either, the one USB reader
/// attached (USB HID, USB HID keyboard or USB serial). False with `error` (one line, or two
/// for a missing or ambiguous default reader) when a reader named by identity is not attached,
/// or there is no reader to work on at all. --device values must parse (see
/// `ParseDeviceOption`); one that does not is an error too.
bool ResolveTargets(const TargetRequest& request, DeviceSource& source,
                    std::vector<FleetTarget>& out, std::string& error);

/// Every attached reader of the types `ravelfin list` shows, in type order.
std::vector<DeviceEntry> AttachedReaders(DeviceSource& source);

/// The target for a device listed in its class (HID or serial) under `name`. False when the
/// class lists no device of that name.
bool FindListedTarget(DeviceSource& source, bool hid, const std::string& name, int type,
                      FleetTarget& out);

/// The same, found by identity: the reader wherever it is listed now, under whatever name (a
/// reader that restarted has a new node). False when no device of the class, or more than one,
/// has that identity. `out.Type` is left as it was.
bool FindTargetByIdentity(DeviceSource& source, bool hid, const ReaderIdentity& identity,
                          FleetTarget& out);

}  // namespace ravelfin
