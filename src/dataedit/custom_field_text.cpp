#include "dataedit/custom_field_text.h"

#include <algorithm>

#include "dataedit/custom_card_records.h"
#include "dataedit/field_code.h"

namespace ravelfin {
namespace {

// Texts are built by appending to a named string: GCC 12 warns on "literal" + a temporary string
// (-Wrestrict, a false positive of its inlined insert: a literal never lies inside the string).
std::string Quoted(const Bytes& text) {
    std::string quoted = "\"";
    quoted.append(text.begin(), std::find(text.begin(), text.end(), std::uint8_t{0}));
    quoted += '"';
    return quoted;
}

std::string Count(std::uint8_t n) {
    std::string count = "(";
    count += std::to_string(n);
    count += ')';
    return count;
}

}  // namespace

std::string FormatCustomFieldText(const Bytes& definition) {
    const std::optional<CustomFieldDef> def = DecodeCustomField(definition);
    if (!def) {
        return {};
    }
    std::string head = "(";
    head += FieldCodeText(def->code);
    head += ')';
    switch (def->kind) {
        case CustomFieldKind::kBefore:
            return head + "Before: " + Quoted(def->string1) + Count(def->times1);
        case CustomFieldKind::kBetween:
            return head + "Between: " + Quoted(def->string1) + Count(def->times1) + " and " +
                   Quoted(def->string2) + Count(def->times2);
        case CustomFieldKind::kAfter:
            return head + "After: " + Quoted(def->string1) + Count(def->times1) + " offset" +
                   Count(def->offset) + " length" + Count(def->length);
        case CustomFieldKind::kAmong:
            return head + "Among: " + Quoted(def->string1) + Count(def->times1) + "," +
                   Quoted(def->string2) + Count(def->times2) + " offset" +
                   std::to_string(def->offset) + " length" + std::to_string(def->length);
    }
    return {};
}

}  // namespace ravelfin
