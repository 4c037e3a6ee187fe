#include "flows/factory_defaults.h"

#include "flows/flow_messages.h"
#include "protocol/reader_operations.h"

namespace ravelfin {
namespace {
constexpr int kPauseBeforeDefaults = 700;
constexpr int kPauseBeforeReread = 500;
constexpr std::uint8_t kDefaultPollInterval = 1;
}  // namespace

DefaultsOutcome RestoreDefaults(const FlowContext& context, ReaderSettings& settings,
                                const std::function<void()>& refreshPages) {
    DefaultsOutcome outcome;
    ReaderTransport* transport = OpenContextDevice(context);
    if (!transport)
        return outcome;
    context.Waits.Wait(kPauseBeforeDefaults);
    outcome.Restored = RestoreFactoryDefaults(transport);
    transport->Close();
    if (!outcome.Restored) {
        context.Messages.ShowMessage(kDefaultsFailedText);
        return outcome;
    }
    context.Messages.ShowMessage(kDefaultsSetText);

    if (transport->GetInterfaceType() == kInterfaceUsbHidKb &&
        settings.KbPollIntervalRead != kDefaultPollInterval) {
        context.Waits.WaitForRestart(kReaderResetWaitMs);
        outcome.Reset = ReaderReset::kReopenCloseEditor;
    }
    context.Waits.Wait(kPauseBeforeReread);
    if (!ReopenContextDevice(context)) {
        transport->Close();
        context.Messages.ShowMessage(kReopenForReadFailedText);
        return outcome;
    }
    outcome.Reread = ReadAllSettings(settings, transport);
    if (!outcome.Reread) {
        context.Messages.ShowMessage(kRereadFailedText);
    } else if (refreshPages) {
        refreshPages();
    }
    transport->Close();
    return outcome;
}

}  // namespace ravelfin
