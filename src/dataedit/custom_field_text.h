#pragma once

#include <string>

#include "protocol/bytes.h"

namespace ravelfin {

/// The one-line text form of a custom field definition, e.g. "(2a)Before: "ID"(2)".
/// Strings are the stored bytes taken as characters, up to a zero byte. Returns "" for a
/// record that is not a field definition.
std::string FormatCustomFieldText(const Bytes& definition);

}  // namespace ravelfin
