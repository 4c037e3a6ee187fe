#pragma once

#include <string>
#include <string_view>

#include "dataedit/custom_card_records.h"
#include "dataedit/data_edit_settings.h"

namespace ravelfin {

/// The boxes of the Customized Fields dialog as typed. Number boxes hold digits; string
/// boxes any text, taken as bytes. Each kind reads only its own boxes.
struct CustomFieldInput {
    std::string times1;
    std::string string1;
    std::string times2;
    std::string string2;
    std::string offset;
    std::string length;
};

enum class CustomFieldResult {
    kDone,
    kTooManyFields,  // twelve exist already
    kEmptyBox,       // a box of the chosen kind is empty
    kInUse,          // a formula refers to this field or a later one
    kNoSuchField,    // position outside the list
};

/// The low eight bits of the decimal number in a number box (300 gives 44); characters
/// other than digits are skipped, so any length of input is safe.
std::uint8_t NumberBoxValue(std::string_view digits);

/// Appends a field of `kind` on `track` (1 to 3) numbered after the existing ones.
/// Returns kDone, kTooManyFields (checked first) or kEmptyBox; on refusal nothing changes.
CustomFieldResult AddCustomField(CustomCardDefinition& card, CustomFieldKind kind, int track,
                                 const CustomFieldInput& input);

/// True when a code of either sequence names a custom field (track 1 to 3) whose number
/// is `fieldNumber` or more: deleting that field would renumber them.
bool IsCustomFieldInUse(int fieldNumber, const Bytes& workingSequence, const Bytes& storedFormula);

/// Removes the field at `position` and renumbers the later ones, keeping their tracks.
/// Returns kDone, kNoSuchField or kInUse (see `IsCustomFieldInUse`); on refusal nothing
/// changes.
CustomFieldResult DeleteCustomField(CustomCardDefinition& card, int position,
                                    const Bytes& workingSequence, const Bytes& storedFormula);

/// The formula slot of a custom card type: 3 for "Custom", 1 for "Custom2".
inline constexpr std::size_t CustomFormulaSlot(bool custom2) {
    return custom2 ? kSlotDmvOrCustom2 : kSlotCustom;
}

/// The message a dialog shows for a refusal; "" for kDone and kNoSuchField.
std::string CustomFieldMessage(CustomFieldResult result);

}  // namespace ravelfin
