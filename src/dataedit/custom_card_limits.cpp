#include "dataedit/custom_card_limits.h"

#include "dataedit/custom_card_records.h"
#include "dataedit/custom_fields.h"

namespace ravelfin {

Bytes LengthLimitFromBoxes(int track, std::string_view min, std::string_view max) {
    if (min.empty() || max.empty())
        return {};
    return MakeLengthLimitRecord(track, NumberBoxValue(min), NumberBoxValue(max));
}

Bytes MatchStringFromBoxes(int track, std::string_view offset, std::string_view text) {
    if (offset.empty() || text.empty())
        return {};
    return MakeMatchStringRecord(track, NumberBoxValue(offset), Bytes(text.begin(), text.end()));
}

}  // namespace ravelfin
