#include "connection/connection.h"

#include <vector>

#include "protocol/firmware_version.h"
#include "protocol/reader_operations.h"
#include "transport/device_discovery.h"
#include "transport/transport_factory.h"

namespace ravelfin {

namespace {
constexpr int kPauseAfterRead = 600;
constexpr int kPauseBeforeAutoConnect = 2000;
constexpr int kPauseBetweenReopenAttempts = 300;
constexpr int kReopenAttempts = 20;
}  // namespace

Connection::Connection(ReaderEnvironment& environment, Messenger& messenger)
    : environment_(environment), messenger_(messenger) {}

std::unique_ptr<ReaderTransport> Connection::CreateTransport(int type) {
    auto transport = MakeTransport(type, environment_);
    if (!transport)
        messenger_.ShowMessage("ERROR Interface Type!");
    return transport;
}

bool Connection::OpenNew(int type, int index) {
    InterfaceType = type;
    DeviceIndex = index;
    Transport.reset();
    Settings.reset();
    DeviceEntry entry;
    Identity = DescribeDevice(environment_.Devices(), type, index, entry) ? entry.Identity
                                                                          : ReaderIdentity{};
    Settings = std::make_unique<ReaderSettings>(static_cast<std::uint32_t>(type));
    Transport = CreateTransport(type);
    lastOpenError_ = PortError::None;
    if (Transport && Transport->OpenByIndex(index)) {
        // Another reader may have taken the index between the look and the open.
        if (Identity.IsKnown() && Transport->GetDeviceName() != entry.Name)
            Identity = ReaderIdentity{};
        return true;
    }
    if (Transport)
        lastOpenError_ = Transport->LastOpenError();
    InterfaceType = 0;
    DeviceIndex = -1;
    Identity = ReaderIdentity{};
    Transport.reset();
    Settings.reset();
    return false;
}

bool Connection::Connect(int type, int index) {
    if (!OpenNew(type, index))
        return false;
    if (!ReadAllSettings(*Settings, Transport.get())) {
        // Factory defaults that were never read from the reader must not stay behind as its
        // settings: an editor opened on them would send them over the real configuration.
        Transport->Close();
        Transport.reset();
        Settings.reset();
        return false;
    }
    environment_.GetPause().Wait(kPauseAfterRead);
    const bool classified = ClassifyModel(*Settings, *Transport);
    FirmwareVersionText = Transport->FirmwareVersionText;
    Transport->Close();
    return classified;
}

std::string Connection::ProbeDevice(int type, int index) {
    if (!OpenNew(type, index))
        return "";
    std::string text;
    const bool ok = Transport->GetFirmwareVersion(text);
    // Only the selection describes the probed reader: a record of settings never read from
    // it must not pass for a connection that an editor could send from.
    Transport.reset();
    Settings.reset();
    if (!ok)
        return "";
    FirmwareVersionText = text;
    return text;
}

bool Connection::EnsureConnected() {
    if (IsConnected())
        return true;
    // A reader known by its identity is looked for where it is now; its old list position
    // may hold another reader by then.
    if (Identity.IsKnown()) {
        if (ConnectTo(InterfaceType, Identity))
            return true;
    } else if (InterfaceType != 0 && DeviceIndex != -1 && Connect(InterfaceType, DeviceIndex)) {
        return true;
    }
    std::vector<DeviceEntry> readers;
    for (int type : {kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid}) {
        ListDevices(environment_.Devices(), type, readers);
    }
    if (readers.size() != 1)
        return false;
    environment_.GetPause().Wait(kPauseBeforeAutoConnect);
    return Connect(readers.front().Type, readers.front().Index);
}

bool Connection::ConnectTo(int type, const ReaderIdentity& identity) {
    DeviceEntry entry;
    if (!FindReader(environment_.Devices(), identity, {type}, entry))
        return false;
    return Connect(entry.Type, entry.Index);
}

namespace {
int OtherHidKind(int type) {
    return type == kInterfaceUsbHid     ? kInterfaceUsbHidKb
           : type == kInterfaceUsbHidKb ? kInterfaceUsbHid
                                        : kInterfaceUnknown;
}
}  // namespace

FlowContext Connection::Flow(Messenger& messages) {
    return FlowContext{Transport.get(), DeviceIndex, messages, environment_.GetPause(), Expected()};
}

std::optional<ExpectedReader> Connection::Expected() {
    if (!Identity.IsKnown())
        return std::nullopt;
    return ExpectedReader{&environment_.Devices(), Identity, FirmwareVersionText};
}

bool Connection::ReaderAttached() {
    if (!Identity.IsKnown())
        return false;
    DeviceEntry entry;
    return FindReader(environment_.Devices(), Identity, {InterfaceType}, entry) ||
           (OtherHidKind(InterfaceType) != kInterfaceUnknown &&
            FindReader(environment_.Devices(), Identity, {OtherHidKind(InterfaceType)}, entry));
}

void Connection::TakeOver(Connection& other) {
    InterfaceType = other.InterfaceType;
    DeviceIndex = other.DeviceIndex;
    FirmwareVersionText = other.FirmwareVersionText;
    Identity = other.Identity;
    Settings = std::move(other.Settings);
    Transport = std::move(other.Transport);
}

bool Connection::ReopenByIdentity() {
    const ReaderIdentity identity = Identity;
    const std::string firmware = FirmwareVersionText;
    const int type = InterfaceType;
    const int index = DeviceIndex;
    const int kinds[] = {type, OtherHidKind(type)};
    Transport.reset();
    Settings = std::make_unique<ReaderSettings>(static_cast<std::uint32_t>(type));
    for (int attempt = 0; attempt < kReopenAttempts; ++attempt) {
        for (int kind : kinds) {
            DeviceEntry entry;
            if (kind == kInterfaceUnknown ||
                !FindReader(environment_.Devices(), identity, {kind}, entry) ||
                !Connect(entry.Type, entry.Index)) {
                continue;
            }
            // A restart keeps the firmware: a device with other firmware in the same place
            // and with the same serial number is not the reader that restarted.
            if (firmware.empty() || FirmwareVersionText == firmware)
                return true;
            Transport.reset();
            Settings.reset();
            break;
        }
        environment_.GetPause().Wait(kPauseBetweenReopenAttempts);
    }
    // The next attempt looks for the same reader again.
    InterfaceType = type;
    DeviceIndex = index;
    Identity = identity;
    FirmwareVersionText = firmware;
    return false;
}

bool Connection::Reopen() {
    if (Identity.IsKnown())
        return ReopenByIdentity();
    const int type = InterfaceType;
    const int index = DeviceIndex;
    // A new USB HID format brings the reader back as the other kind of HID reader, at the same
    // place among the HID interfaces: with other readers attached, the search for the only
    // one would not find it.
    const int otherKind = OtherHidKind(type);
    Transport.reset();
    Settings = std::make_unique<ReaderSettings>(static_cast<std::uint32_t>(InterfaceType));
    for (int attempt = 0; attempt < kReopenAttempts; ++attempt) {
        // A failed attempt forgets the selection; the next one starts from it again.
        if (attempt > 0 && type != 0 && index != -1) {
            InterfaceType = type;
            DeviceIndex = index;
        }
        if (EnsureConnected())
            return true;
        if (otherKind != kInterfaceUnknown && index != -1 && Connect(otherKind, index))
            return true;
        environment_.GetPause().Wait(kPauseBetweenReopenAttempts);
    }
    return false;
}

}  // namespace ravelfin
