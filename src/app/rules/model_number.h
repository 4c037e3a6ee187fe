#pragma once

#include <string>

namespace ravelfin {

enum class ModelNumberCheck { kEmpty, kUnknown, kAccepted };

/// Checks a typed model number: 8 to 18 characters whose first seven are one of the known
/// models (exactly, case-sensitive). When accepted, `interfaceType` is what the eighth
/// character says (0 for a character no interface has); otherwise it is left alone.
ModelNumberCheck CheckModelNumber(const std::string& modelNumber, int& interfaceType);

}  // namespace ravelfin
