#pragma once

#include <cstdint>
#include <string>

#include "dataedit/data_edit_settings.h"
#include "dataedit/field_code.h"

namespace ravelfin {

/// The most codes all four formulas may hold together.
inline constexpr std::size_t kMaxFormulaItems = 130;

/// The text form of a sequence of field codes, with the digit spellings of `slot`'s card
/// type ("1k" of a credit card formula reads "10"). A slot outside 0..2 has none.
std::string FormatFormulaText(const Bytes& codes, int slot);

/// Appends `code` to the working sequence of the editor of `editedSlot`. Returns false,
/// leaving the sequence alone, when the stored formulas already hold 130 codes, or the
/// other slots' stored formulas and the working sequence together do.
bool AppendFormulaCode(const DataEditSettings& settings, int editedSlot, Bytes& workingSequence,
                       std::uint8_t code);

/// "Only 130 items can be added for Send Command."
std::string TooManyFormulaItemsMessage();

}  // namespace ravelfin
