#pragma once

#include <string_view>

#include "flows/flow_context.h"

namespace ravelfin {

/// True when `typed` is exactly the boot-loader password (case and blanks count).
bool IsBootLoaderPassword(std::string_view typed);

/// Switches the reader into boot-loader mode with the set frame 02 53 70 01 FF 03 DC. The
/// caller has checked the password and asked kBootLoaderQuestionText first. Shows
/// kBootLoaderSetText, kBootLoaderFailedText or kOpenFailedText; returns true when the reader
/// acknowledged. The device is closed on return.
bool SetBootLoaderMode(const FlowContext& context);

}  // namespace ravelfin
