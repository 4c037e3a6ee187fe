#include "dataedit/added_fields.h"

#include <algorithm>

#include "dataedit/field_code.h"

namespace ravelfin {

AddedFieldResult AddAddedField(std::vector<Bytes>& fields, const Bytes& field) {
    if (fields.size() >= kMaxAddedFields) {
        return AddedFieldResult::kTooManyFields;
    }
    if (field.empty()) {
        return AddedFieldResult::kEmptyField;
    }
    const auto length = std::min(field.size(), kMaxAddedFieldLength);
    fields.emplace_back(field.begin(), field.begin() + static_cast<std::ptrdiff_t>(length));
    return AddedFieldResult::kDone;
}

bool IsAddedFieldInUse(int position, const DataEditSettings& settings,
                       const Bytes* workingSequence) {
    auto refers = [position](const Bytes& codes) {
        return std::any_of(codes.begin(), codes.end(), [position](std::uint8_t code) {
            return FieldCodeTrack(code) == 0 && FieldCodeNumber(code) >= position;
        });
    };
    if (workingSequence != nullptr && refers(*workingSequence)) {
        return true;
    }
    return std::any_of(settings.formulas.begin(), settings.formulas.end(), refers);
}

AddedFieldResult DeleteAddedField(std::vector<Bytes>& fields, int position,
                                  const DataEditSettings& settings, const Bytes* workingSequence) {
    if (position < 0 || position >= static_cast<int>(fields.size())) {
        return AddedFieldResult::kNoSuchField;
    }
    if (IsAddedFieldInUse(position, settings, workingSequence)) {
        return AddedFieldResult::kInUse;
    }
    fields.erase(fields.begin() + position);
    return AddedFieldResult::kDone;
}

std::string AddedFieldMessage(AddedFieldResult result) {
    switch (result) {
        case AddedFieldResult::kTooManyFields:
            return "Only " + std::to_string(kMaxAddedFields) + " added field can be set!";
        case AddedFieldResult::kEmptyField:
            return "Please input invalid field.";
        case AddedFieldResult::kInUse:
            return "Cannot delete an Added field been currently used.";
        case AddedFieldResult::kDone:
        case AddedFieldResult::kNoSuchField:
            break;
    }
    return {};
}

}  // namespace ravelfin
