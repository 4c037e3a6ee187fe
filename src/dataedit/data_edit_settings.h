#pragma once

#include <array>

#include "dataedit/custom_card_definition.h"

namespace ravelfin {

inline constexpr std::size_t kFormulaSlots = 4;
inline constexpr std::size_t kMaxAddedFields = 8;
inline constexpr std::size_t kMaxAddedFieldLength = 8;

/// Formula slots: 0 credit card, 1 DMV (below 3.32) or Custom2, 2 AAMVA, 3 Custom.
enum FormulaSlot : std::size_t {
    kSlotCreditCard = 0,
    kSlotDmvOrCustom2 = 1,
    kSlotAamva = 2,
    kSlotCustom = 3,
};

/// The data-editing content of a reader: what it cuts out of a card and sends in its place.
class DataEditSettings {
public:
    virtual ~DataEditSettings() = default;

    /// Empties every list and string and sets `mode` to '0'.
    void ResetDataEditSettings() {
        mode = '0';
        addedFields.clear();
        custom.Clear();
        custom2.Clear();
        for (auto& f : formulas) f.clear();
    }

    std::uint8_t mode = '0';  // '0' off, '1' matched output, '3' unmatched output
    std::vector<Bytes> addedFields;
    CustomCardDefinition custom;
    CustomCardDefinition custom2;
    std::array<Bytes, kFormulaSlots> formulas;

    bool operator==(const DataEditSettings&) const = default;

protected:
    DataEditSettings() = default;
    DataEditSettings(const DataEditSettings&) = default;
    DataEditSettings& operator=(const DataEditSettings&) = default;
};

}  // namespace ravelfin
