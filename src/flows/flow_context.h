#pragma once

#include <optional>
#include <string>

#include "connection/messenger.h"
#include "flows/device_address.h"
#include "transport/device_source.h"
#include "transport/pause.h"
#include "transport/reader_identity.h"
#include "transport/reader_transport.h"

namespace ravelfin {

/// The reader a connection was made to: a flow finds it again by its identity, whatever its
/// list position and node are now, and makes sure it still reports the firmware text read
/// when it was connected, before anything is written to it.
struct ExpectedReader {
    DeviceSource* Devices = nullptr;
    ReaderIdentity Identity;
    /// The firmware text read at connect; empty when there was none to compare.
    std::string FirmwareText;
};

/// What a flow borrows for one run: the connection's transport (none is treated like a reader
/// that cannot be opened), the device to open on it, where messages go, and the pause; and,
/// from a connection, the reader that `Device` must still be. Every flow opens the device
/// itself and leaves it closed when it returns.
struct FlowContext {
    ReaderTransport* Transport;
    DeviceAddress Device;
    Messenger& Messages;
    Pause& Waits;
    std::optional<ExpectedReader> Expected = std::nullopt;
};

/// How finding the expected reader again went.
enum class ReaderCheck {
    kSameReader,   // found by its identity, opened, and it reports the same firmware
    kGone,         // no attached reader has its identity
    kOpenFailed,   // found, but it did not open
    kNoAnswer,     // opened, but it did not tell its firmware (twice the same)
    kOtherReader,  // a reader that reports other firmware answers in its place
};

/// Opens the expected reader on `transport`, found by its identity among the readers of the
/// transport's interface type, and reads its firmware text afresh to compare: a text that
/// differs is read again, and only another text said twice makes kOtherReader (`firmwareNow`,
/// when given, receives it); texts that disagree, or none, make kNoAnswer. The device is
/// open only for kSameReader.
ReaderCheck OpenExpectedReader(ReaderTransport& transport, const ExpectedReader& expected,
                               std::string* firmwareNow = nullptr);

/// The context's transport with its device open; null, with the device closed, after telling
/// the user why. With an expected reader that is gone or replaced by another, the user is
/// told so (`Messenger::OfferReaderSelection`) and nothing is opened; a reader that does not
/// open, or does not tell its firmware, gets kOpenFailedText.
ReaderTransport* OpenContextDevice(const FlowContext& context);

/// Opens the context's device again within a flow that has already checked it (to read back
/// what it wrote): the expected reader by its identity, which a reset leaves unchanged, else
/// `Device`. True when it opened.
bool ReopenContextDevice(const FlowContext& context);

/// What the user is told when the expected reader cannot be written to.
std::string ReaderGoneText(const ExpectedReader& expected);
std::string OtherReaderText(const ExpectedReader& expected, const std::string& firmwareNow);

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
