#pragma once

#include <functional>

#include "flows/flow_context.h"
#include "protocol/reader_settings.h"

namespace ravelfin {

struct DefaultsOutcome {
    bool Restored = false;  // the reader acknowledged the set-defaults command
    bool Reread = false;    // its settings were read back into the record
    ReaderReset Reset = ReaderReset::kNone;
};

/// "Default All": opens the device, waits 700 ms, sends the set-defaults command (0x18),
/// closes and shows kDefaultsSetText, or kDefaultsFailedText and stops. A USB-HID-KB reader
/// whose polling interval was not the default 1 resets: the flow waits kReaderResetWaitMs and
/// reports kReopenCloseEditor. It then waits 500 ms, opens the device again and reads the
/// settings into `settings`, calls `refreshPages` and closes. Failures there show
/// kReopenForReadFailedText or kRereadFailedText and leave `settings` as it was.
/// A device that does not open at first shows kOpenFailedText and nothing is sent.
DefaultsOutcome RestoreDefaults(const FlowContext& context, ReaderSettings& settings,
                                const std::function<void()>& refreshPages = {});

}  // namespace ravelfin
