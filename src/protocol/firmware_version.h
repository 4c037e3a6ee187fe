#pragma once

#include <string>

#include "protocol/reader_settings.h"
#include "transport/reader_transport.h"

namespace ravelfin {

/// Model classes: readers with data-editing formulas, and readers with security settings.
inline constexpr std::uint32_t kModelFormulas = 10000;
inline constexpr std::uint32_t kModelSecurity = 30000;

/// The first number of the form digits '.' digits in a firmware version text ("V4.30" gives
/// 4.3, "FW 1.2.3" gives 1.2, "A12B3.45" gives 3.45). Returns 0.0 when the text holds none.
double ParseVersionNumber(const std::string& text);

/// Reads the firmware version text from the transport and stores its number and the model
/// class it implies in both the transport and the record. Returns false, changing nothing,
/// when the transport cannot deliver the text. From version 4.3 on the class follows the
/// product id; an unknown product id leaves both classes as they were.
bool ClassifyModel(ReaderSettings& record, ReaderTransport& transport);

}  // namespace ravelfin
