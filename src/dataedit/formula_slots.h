#pragma once

#include <array>
#include <string>
#include <vector>

#include "dataedit/data_edit_settings.h"

namespace ravelfin {

/// From this firmware version on, formula slot 1 holds the "Custom2" card instead of DMV.
inline constexpr double kCustom2FromVersion = 3.32;

inline constexpr bool SecondSlotIsCustom2(double firmwareVersion) {
    return firmwareVersion >= kCustom2FromVersion;
}

/// The editor that edits a formula slot.
enum class FormulaEditorKind { kCreditCard, kDmv, kAamva, kCustom, kCustom2 };

FormulaEditorKind EditorForSlot(std::size_t slot, double firmwareVersion);

/// The label before a formula in the page's list: "Credit Card: ", "DMV: " or "Custom2: ",
/// "AAMVA: ", "Custom: ".
std::string FormulaLabel(std::size_t slot, double firmwareVersion);

struct FormulaLine {
    std::size_t slot;
    std::string text;  // label and formula text
};

/// One line per non-empty formula, in slot order.
std::vector<FormulaLine> FormulaLines(const DataEditSettings& settings, double firmwareVersion);

/// Which of the "Track1" to "Track3" boxes can be changed for the card type of `slot`: none
/// while data editing is off, none for the custom cards (they have no catalogue), tracks 1
/// and 2 for a credit card, all three for DMV and AAMVA.
std::array<bool, 3> TrackBoxesEnabled(std::size_t slot, double firmwareVersion,
                                      bool dataEditEnabled);

/// Empties the four formulas and both custom cards' field lists; added fields, length
/// limits and match strings stay.
void ClearAllFormulas(DataEditSettings& settings);

}  // namespace ravelfin
