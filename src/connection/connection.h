#pragma once

#include <memory>
#include <string>

#include "connection/messenger.h"
#include "flows/flow_context.h"
#include "protocol/reader_settings.h"
#include "transport/device_discovery.h"
#include "transport/port_error.h"
#include "transport/reader_environment.h"
#include "transport/reader_transport.h"

namespace ravelfin {

/// The application's connection state: which reader is selected, the one live transport and
/// the one live settings record read from that reader.
///
/// The reader is kept by its identity (USB place and serial number), taken when it is
/// connected; its list position (`DeviceIndex`) is only where it was then. Every flow run
/// through `Flow` finds the reader again by that identity and checks its firmware text
/// before it writes, so a reader that arrived meanwhile is never written to in its place.
class Connection {
  public:
    Connection(ReaderEnvironment& environment, Messenger& messenger);

    /// A transport for the interface type; for 0, 2 or any other type, "ERROR Interface Type!"
    /// is shown and nullptr returned.
    std::unique_ptr<ReaderTransport> CreateTransport(int type);
    /// Opens the reader, reads its settings and classifies the model. On an open failure the
    /// selection is cleared; on a failed read the device is closed and neither `Transport`
    /// nor `Settings` stays, but the selection does, so the next attempt retries.
    bool Connect(int type, int index);
    /// Connects to the reader with this identity, wherever it is listed now among the readers
    /// of `type`. False, connecting nothing, when no reader has it.
    bool ConnectTo(int type, const ReaderIdentity& identity);
    /// Opens one device and returns its firmware version text, or "".
    std::string ProbeDevice(int type, int index);
    /// Reuses the connection or the stored selection (the reader with the kept identity,
    /// wherever it is now; without one, the stored index), else connects to the one USB
    /// reader attached. Shows nothing.
    bool EnsureConnected();
    /// The reader side of re-opening a reader that was reset: drops the connection and looks
    /// for the reader by its identity, as its own kind or, for a USB HID reader, as the other
    /// kind (a new USB HID format changes the kind and the product id), up to 20 times,
    /// 300 ms apart, and connects to it once it reports the firmware it had. Without an
    /// identity, tries `EnsureConnected` from the selection it had. True when connected again.
    bool Reopen();
    /// True when the connected reader is attached now, as its own kind or, for a USB HID
    /// reader, the other one. Opens nothing. False when nothing is connected.
    bool ReaderAttached();
    /// Takes over the connection `other` made (the wizard connects on a connection of its
    /// own); `other` is left without transport and record.
    void TakeOver(Connection& other);
    bool IsConnected() const { return Transport && Settings; }
    /// Why the last failed open failed at the device, for advice such as a missing
    /// permission; `PortError::None` when the last open succeeded.
    PortError LastOpenError() const { return lastOpenError_; }

    int InterfaceType = 0;
    int DeviceIndex = -1;
    std::unique_ptr<ReaderTransport> Transport;
    std::unique_ptr<ReaderSettings> Settings;
    std::string FirmwareVersionText;
    /// Which reader is connected; empty when none is, or when the device that was opened
    /// could not be told apart from others.
    ReaderIdentity Identity;

    ReaderEnvironment& Environment() { return environment_; }
    /// What a flow borrows to run on the reader as it is now (a reopened reader has a new
    /// transport), its messages going to `messages`. It carries the reader's identity and
    /// firmware text, so that the flow writes to this reader or to none.
    FlowContext Flow(Messenger& messages);
    /// The connected reader as a flow expects to find it; nothing without an identity.
    std::optional<ExpectedReader> Expected();

  private:
    /// Forgets the previous reader, builds a record and a transport for the type and opens
    /// the device; on failure clears the selection and keeps neither.
    bool OpenNew(int type, int index);
    bool ReopenByIdentity();

    ReaderEnvironment& environment_;
    Messenger& messenger_;
    PortError lastOpenError_ = PortError::None;
};

}  // namespace ravelfin
