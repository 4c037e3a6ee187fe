#include "dataedit/formula_slots.h"

#include "dataedit/formula.h"

namespace ravelfin {

FormulaEditorKind EditorForSlot(std::size_t slot, double firmwareVersion) {
    switch (slot) {
        case kSlotCreditCard:
            return FormulaEditorKind::kCreditCard;
        case kSlotDmvOrCustom2:
            return SecondSlotIsCustom2(firmwareVersion) ? FormulaEditorKind::kCustom2
                                                        : FormulaEditorKind::kDmv;
        case kSlotAamva:
            return FormulaEditorKind::kAamva;
        default:
            return FormulaEditorKind::kCustom;
    }
}

std::string FormulaLabel(std::size_t slot, double firmwareVersion) {
    switch (EditorForSlot(slot, firmwareVersion)) {
        case FormulaEditorKind::kCreditCard:
            return "Credit Card: ";
        case FormulaEditorKind::kDmv:
            return "DMV: ";
        case FormulaEditorKind::kCustom2:
            return "Custom2: ";
        case FormulaEditorKind::kAamva:
            return "AAMVA: ";
        case FormulaEditorKind::kCustom:
            break;
    }
    return "Custom: ";
}

std::vector<FormulaLine> FormulaLines(const DataEditSettings& settings, double firmwareVersion) {
    std::vector<FormulaLine> lines;
    for (std::size_t slot = 0; slot < kFormulaSlots; ++slot) {
        const std::string text = FormatFormulaText(settings.formulas[slot], static_cast<int>(slot));
        if (!text.empty())
            lines.push_back({slot, FormulaLabel(slot, firmwareVersion) + text});
    }
    return lines;
}

std::array<bool, 3> TrackBoxesEnabled(std::size_t slot, double firmwareVersion,
                                      bool dataEditEnabled) {
    if (!dataEditEnabled)
        return {false, false, false};
    switch (EditorForSlot(slot, firmwareVersion)) {
        case FormulaEditorKind::kCreditCard:
            return {true, true, false};
        case FormulaEditorKind::kDmv:
        case FormulaEditorKind::kAamva:
            return {true, true, true};
        case FormulaEditorKind::kCustom:
        case FormulaEditorKind::kCustom2:
            break;
    }
    return {false, false, false};
}

void ClearAllFormulas(DataEditSettings& settings) {
    for (Bytes& formula : settings.formulas)
        formula.clear();
    settings.custom.fields.clear();
    settings.custom2.fields.clear();
}

}  // namespace ravelfin
