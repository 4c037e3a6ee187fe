#pragma once

#include <cstdint>
#include <optional>

#include "dataedit/custom_card_definition.h"

namespace ravelfin {

/// How a custom field is found in the track data; the value is the record's kind byte.
enum class CustomFieldKind : std::uint8_t {
    kBefore = kBeforeField,
    kBetween = kBetweenField,
    kAfter = kAfterField,
    kAmong = kAmongField,
};

/// One custom field definition taken apart. Before uses times1/string1; Between adds
/// times2/string2; After uses times1/string1/offset/length; Among uses all of them.
struct CustomFieldDef {
    CustomFieldKind kind = CustomFieldKind::kBefore;
    std::uint8_t code = 0;  // field code: track and field number
    std::uint8_t times1 = 0;
    Bytes string1;
    std::uint8_t times2 = 0;
    Bytes string2;
    std::uint8_t offset = 0;
    std::uint8_t length = 0;

    bool operator==(const CustomFieldDef&) const = default;
};

/// The record of `def`. A string's length travels in one byte, so only its first 255
/// bytes are kept.
Bytes EncodeCustomField(const CustomFieldDef& def);

/// Takes a record apart. Returns nothing when its first byte is not a field kind (0xF2 to
/// 0xF5). A record cut short reads as if it went on with zero bytes: a string keeps only
/// the bytes present, and no byte past the record is read.
std::optional<CustomFieldDef> DecodeCustomField(const Bytes& record);

/// The length limit of one track (1 to 3): 0xF0, track byte, min, max.
Bytes MakeLengthLimitRecord(int track, std::uint8_t min, std::uint8_t max);

/// The match string of one track (1 to 3): 0xF1, track byte, offset, length, the bytes
/// (at most 255 of them).
Bytes MakeMatchStringRecord(int track, std::uint8_t offset, const Bytes& text);

struct LengthLimit {
    std::uint8_t min = 0;
    std::uint8_t max = 0;
};

struct MatchString {
    std::uint8_t offset = 0;
    Bytes text;
};

/// The values of a length-limit record; nothing when it is not a whole 0xF0 record.
std::optional<LengthLimit> ReadLengthLimit(const Bytes& record);

/// The values of a match-string record; nothing when it is not a 0xF1 record. A string
/// cut short keeps the bytes present.
std::optional<MatchString> ReadMatchString(const Bytes& record);

}  // namespace ravelfin
