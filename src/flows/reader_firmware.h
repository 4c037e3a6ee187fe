#pragma once

#include "flows/flow_context.h"

namespace ravelfin {

/// The firmware version number of the context's reader, read the way the output format page
/// reads it when it opens: opens the device (the expected reader by its identity), waits 500 ms,
/// takes the version text (from the transport's cache when it has one) and parses it; closes the
/// device in every case. 0 when there is no transport, the device does not open or no text comes.
/// Shows nothing.
double ReadFirmwareNumber(const FlowContext& context);

}  // namespace ravelfin
