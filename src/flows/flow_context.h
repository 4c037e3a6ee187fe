#pragma once

#include "connection/messenger.h"
#include "flows/device_address.h"
#include "transport/pause.h"
#include "transport/reader_transport.h"

namespace ravelfin {

/// What a flow borrows for one run: the connection's transport (none is treated like a reader
/// that cannot be opened), the device to open on it, where messages go, and the pause.
/// Every flow opens the device itself and leaves it closed when it returns.
struct FlowContext {
    ReaderTransport* Transport;
    DeviceAddress Device;
    Messenger& Messages;
    Pause& Waits;
};

/// The context's transport with its device open; null, with the device closed, after telling
/// the user that the reader could not be opened.
ReaderTransport* OpenContextDevice(const FlowContext& context);

/// The two editors word a few messages differently.
enum class Editor { kBasic, kAdvanced };

/// What a flow that changed the reader asks of its caller once it returns. A reader that
/// resets re-enumerates: the flow has already waited kReaderResetWaitMs for it, and the
/// caller reopens it (`Connection::Reopen`).
enum class ReaderReset {
    kNone,
    kReopen,             // reopen; the editor stays open and takes the new connection
    kReopenCloseEditor,  // close the editor, then reopen
};

inline constexpr int kReaderResetWaitMs = 8000;

}  // namespace ravelfin
