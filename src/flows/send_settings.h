#pragma once

#include <cstdint>
#include <functional>

#include "flows/flow_context.h"
#include "protocol/reader_operations.h"
#include "protocol/reader_settings.h"

namespace ravelfin {

/// The security state a secure reader reports right after a send: the byte at index 4 of its
/// answers to the single reads of FuncIDs 0x7E and 0x4C, or 0 where the answer was shorter.
struct SecurityState {
    std::uint8_t Level = 0;
    std::uint8_t Encryption = 0;
};

/// Called by SendToReader when it read the security state back, before the message is shown.
using SecurityStateCallback = std::function<void(const SecurityState&)>;

struct SendOutcome {
    bool Opened = false;
    /// The WriteResult that decided the message: the data-editing result when it was
    /// kWriteFailed or kWriteTooLong, kWriteRefused when either frame was refused, otherwise
    /// the general result. kWriteFailed when the reader could not be opened.
    int Result = kWriteFailed;
    ReaderReset Reset = ReaderReset::kNone;
};

/// "Send to MSR": opens the device, copies the transport's firmware version into `settings`,
/// writes the data-editing frame and then, unless that failed or was too long, the general
/// frame; closes the device and shows one message (kWrittenText, kWriteFailedText,
/// kTooLongText, kUnknownFuncIdsText, or kOpenFailedText when the device does not open).
///
/// When the general frame was accepted (the data-editing one may have been refused) and the
/// change makes the reader reset (`ReconnectPending`,
/// which is then cleared, or a new polling interval on a USB-HID-KB reader) the flow waits
/// kReaderResetWaitMs after the message and reports the reset. Otherwise `ReconnectPending`
/// stays for the next send.
///
/// `onSecurity`, given by an editor that shows the security page, is called with the state
/// read back after the general frame went out to a reader above 4.25 of model class 30000.
SendOutcome SendToReader(const FlowContext& context, ReaderSettings& settings,
                         const SecurityStateCallback& onSecurity = {});

/// Reads the security level and the encryption with the two single-setting reads on an open
/// transport. Failed exchanges are not errors: their value is whatever arrived, else 0.
SecurityState ReadSecurityState(ReaderTransport& transport);

}  // namespace ravelfin
