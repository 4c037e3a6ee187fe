#pragma once

#include <memory>
#include <string>

#include "connection/messenger.h"
#include "flows/flow_context.h"
#include "protocol/reader_settings.h"
#include "transport/port_error.h"
#include "transport/reader_environment.h"
#include "transport/reader_transport.h"

namespace ravelfin {

/// The application's connection state: which reader is selected, the one live transport and
/// the one live settings record read from that reader.
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
    /// Opens one device and returns its firmware version text, or "".
    std::string ProbeDevice(int type, int index);
    /// Reuses the connection or the stored selection, else connects to the one USB reader
    /// attached. Shows nothing.
    bool EnsureConnected();
    /// The reader side of re-opening a reader that was reset: drops the connection and tries
    /// `EnsureConnected` from the selection it had, and a USB HID reader also as the other
    /// kind of HID reader at the same index (a new USB HID format changes the kind), up to 20
    /// times, 300 ms apart. True when connected again.
    bool Reopen();
    bool IsConnected() const { return Transport && Settings; }
    /// Why the last failed open failed at the device, for advice such as a missing
    /// permission; `PortError::None` when the last open succeeded.
    PortError LastOpenError() const { return lastOpenError_; }

    int InterfaceType = 0;
    int DeviceIndex = -1;
    std::unique_ptr<ReaderTransport> Transport;
    std::unique_ptr<ReaderSettings> Settings;
    std::string FirmwareVersionText;

    ReaderEnvironment& Environment() { return environment_; }
    /// What a flow borrows to run on the reader as it is now (a reopened reader has a new
    /// transport), its messages going to `messages`.
    FlowContext Flow(Messenger& messages) {
        return FlowContext{Transport.get(), DeviceIndex, messages, environment_.GetPause()};
    }

  private:
    /// Forgets the previous reader, builds a record and a transport for the type and opens
    /// the device; on failure clears the selection and keeps neither.
    bool OpenNew(int type, int index);

    ReaderEnvironment& environment_;
    Messenger& messenger_;
    PortError lastOpenError_ = PortError::None;
};

}  // namespace ravelfin
