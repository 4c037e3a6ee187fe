#include "dataedit/custom_fields.h"

#include <algorithm>
#include <initializer_list>

#include "dataedit/field_code.h"

namespace ravelfin {
namespace {

Bytes TextBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

bool AnyEmpty(std::initializer_list<const std::string*> boxes) {
    return std::any_of(boxes.begin(), boxes.end(), [](const std::string* b) { return b->empty(); });
}

bool HasEmptyBox(CustomFieldKind kind, const CustomFieldInput& in) {
    switch (kind) {
        case CustomFieldKind::kBefore:
            return AnyEmpty({&in.times1, &in.string1});
        case CustomFieldKind::kBetween:
            return AnyEmpty({&in.times1, &in.string1, &in.times2, &in.string2});
        case CustomFieldKind::kAfter:
            return AnyEmpty({&in.times1, &in.string1, &in.offset, &in.length});
        case CustomFieldKind::kAmong:
            return AnyEmpty(
                {&in.times1, &in.string1, &in.times2, &in.string2, &in.offset, &in.length});
    }
    return true;
}

}  // namespace

std::uint8_t NumberBoxValue(std::string_view digits) {
    unsigned value = 0;
    for (char c : digits) {
        if (c >= '0' && c <= '9') {
            value = (value * 10 + static_cast<unsigned>(c - '0')) & 0xFF;
        }
    }
    return static_cast<std::uint8_t>(value);
}

CustomFieldResult AddCustomField(CustomCardDefinition& card, CustomFieldKind kind, int track,
                                 const CustomFieldInput& input) {
    if (card.fields.size() >= kMaxCustomFields) {
        return CustomFieldResult::kTooManyFields;
    }
    if (HasEmptyBox(kind, input)) {
        return CustomFieldResult::kEmptyBox;
    }
    CustomFieldDef def;
    def.kind = kind;
    def.code = MakeFieldCode(track, static_cast<int>(card.fields.size()));
    def.times1 = NumberBoxValue(input.times1);
    def.string1 = TextBytes(input.string1);
    def.times2 = NumberBoxValue(input.times2);
    def.string2 = TextBytes(input.string2);
    def.offset = NumberBoxValue(input.offset);
    def.length = NumberBoxValue(input.length);
    card.fields.push_back(EncodeCustomField(def));
    return CustomFieldResult::kDone;
}

bool IsCustomFieldInUse(int fieldNumber, const Bytes& workingSequence, const Bytes& storedFormula) {
    auto refers = [fieldNumber](std::uint8_t code) {
        const int track = FieldCodeTrack(code);
        return track >= 1 && track <= 3 && FieldCodeNumber(code) >= fieldNumber;
    };
    return std::any_of(workingSequence.begin(), workingSequence.end(), refers) ||
           std::any_of(storedFormula.begin(), storedFormula.end(), refers);
}

CustomFieldResult DeleteCustomField(CustomCardDefinition& card, int position,
                                    const Bytes& workingSequence, const Bytes& storedFormula) {
    if (position < 0 || position >= static_cast<int>(card.fields.size())) {
        return CustomFieldResult::kNoSuchField;
    }
    if (IsCustomFieldInUse(position, workingSequence, storedFormula)) {
        return CustomFieldResult::kInUse;
    }
    card.fields.erase(card.fields.begin() + position);
    for (std::size_t i = 0; i < card.fields.size(); ++i) {
        Bytes& def = card.fields[i];
        if (def.size() >= 2) {
            def[1] = static_cast<std::uint8_t>((def[1] & 0x60) + i);
        }
    }
    return CustomFieldResult::kDone;
}

std::string CustomFieldMessage(CustomFieldResult result) {
    switch (result) {
        case CustomFieldResult::kTooManyFields:
            return "Only " + std::to_string(kMaxCustomFields) + " flexible field can be set!";
        case CustomFieldResult::kEmptyBox:
            return "Please input valid value in the field.";
        case CustomFieldResult::kInUse:
            return "Cannot delete a Custom field been currently used.";
        case CustomFieldResult::kDone:
        case CustomFieldResult::kNoSuchField:
            break;
    }
    return {};
}

}  // namespace ravelfin
