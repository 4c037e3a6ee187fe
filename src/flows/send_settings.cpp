#include "flows/send_settings.h"

#include <array>

#include "flows/flow_messages.h"
#include "protocol/command_frame.h"
#include "protocol/firmware_version.h"
#include "protocol/reader_operations.h"

namespace ravelfin {
namespace {

constexpr std::uint8_t kFuncSecurityLevel = 0x7E;
constexpr std::uint8_t kFuncEncryption = 0x4C;
constexpr double kSecurityFirmware = 4.25;

/// Reads one setting with STX 'R' FuncID ETX LRC; the value sits at index 4 of the answer.
/// The answer buffer has room for whole HID report payloads: a HID link delivers the answer
/// in reports and refuses a buffer smaller than what it collects.
std::uint8_t ReadSingleSetting(ReaderTransport& transport, std::uint8_t funcId) {
    std::array<std::uint8_t, 5> frame{kStx, kReadLetter, funcId, kEtx, 0};
    frame[4] = ComputeLrc(std::span(frame).first(4));
    std::array<std::uint8_t, kSettingsBuffer> answer{};
    std::size_t received = 0;
    transport.Exchange(frame, answer, received);
    return received > 4 && received <= answer.size() ? answer[4] : 0;
}

const char* MessageFor(int result) {
    switch (result) {
        case kWriteOk:
            return kWrittenText;
        case kWriteTooLong:
            return kTooLongText;
        case kWriteRefused:
            return kUnknownFuncIdsText;
        default:
            return kWriteFailedText;
    }
}

}  // namespace

SecurityState ReadSecurityState(ReaderTransport& transport) {
    SecurityState state;
    state.Level = ReadSingleSetting(transport, kFuncSecurityLevel);
    state.Encryption = ReadSingleSetting(transport, kFuncEncryption);
    return state;
}

SendOutcome SendToReader(const FlowContext& context, ReaderSettings& settings,
                         const SecurityStateCallback& onSecurity) {
    SendOutcome outcome;
    ReaderTransport* transport = OpenContextDevice(context);
    if (!transport)
        return outcome;
    outcome.Opened = true;
    // The encoders choose FuncIDs by the firmware of the reader they talk to.
    settings.FirmwareVersionNumber = transport->FirmwareVersionNumber;

    const int dataEdit = WriteDataEditSettings(settings, transport);
    bool generalTaken = false;
    if (dataEdit == kWriteFailed || dataEdit == kWriteTooLong) {
        outcome.Result = dataEdit;
    } else {
        const int general = WriteGeneralSettings(settings, transport);
        generalTaken = general == kWriteOk;
        // A refused data-editing frame is not hidden behind an accepted general one.
        outcome.Result = general == kWriteOk && dataEdit == kWriteRefused ? kWriteRefused : general;
        if (onSecurity && transport->FirmwareVersionNumber > kSecurityFirmware &&
            transport->ModelClass == kModelSecurity) {
            onSecurity(ReadSecurityState(*transport));
        }
    }
    context.Messages.ShowMessage(MessageFor(outcome.Result));
    transport->Close();

    // The format and the polling interval travel in the general frame: once the reader took
    // it, it restarts, whatever it made of the data-editing frame. Otherwise a pending reset
    // waits for the next send.
    if (!generalTaken)
        return outcome;
    if (settings.ReconnectPending) {
        settings.ReconnectPending = 0;
        outcome.Reset = ReaderReset::kReopen;
    } else if (transport->GetInterfaceType() == kInterfaceUsbHidKb &&
               settings.KbPollInterval != settings.KbPollIntervalRead) {
        outcome.Reset = ReaderReset::kReopenCloseEditor;
    }
    if (outcome.Reset != ReaderReset::kNone)
        context.Waits.WaitForRestart(kReaderResetWaitMs);
    return outcome;
}

}  // namespace ravelfin
