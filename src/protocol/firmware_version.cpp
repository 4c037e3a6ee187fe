#include "protocol/firmware_version.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace ravelfin {

double ParseVersionNumber(const std::string& text) {
    // States: 0 no number, 1 integer digits, 2 just after the point, 3 fraction digits.
    // A character that breaks a number off is not taken as the start of the next one.
    const std::string_view view(text.c_str());  // the text ends at its first NUL
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    int state = 0;
    std::size_t start = 0;
    std::size_t i = 0;
    for (; i < view.size(); ++i) {
        const char c = view[i];
        if (state == 0) {
            if (isDigit(c)) {
                start = i;
                state = 1;
            }
        } else if (state == 1) {
            if (c == '.') {
                state = 2;
            } else if (!isDigit(c)) {
                state = 0;
            }
        } else if (state == 2) {
            state = isDigit(c) ? 3 : 0;
        } else if (!isDigit(c)) {
            break;
        }
    }
    if (state != 3) return 0.0;
    double value = 0.0;
    std::from_chars(view.data() + start, view.data() + i, value);
    return value;
}

bool ClassifyModel(ReaderSettings& record, ReaderTransport& transport) {
    std::string text;
    if (!transport.GetFirmwareVersion(text)) return false;
    const double version = ParseVersionNumber(text);
    transport.FirmwareVersionNumber = record.FirmwareVersionNumber = version;

    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    std::uint32_t modelClass = 0;
    if (version > 4.25 && version < 4.3) {
        // In this generation only the formula readers carry "LUMA" past the text's start.
        const std::size_t at = upper.find("LUMA", 1);
        modelClass = at != std::string::npos && at > 1 ? kModelFormulas : kModelSecurity;
    } else if (version >= 4.3) {
        switch (transport.ProductId) {
            case 0x4206:
            case 0x4106: modelClass = kModelSecurity; break;
            case 0x4205:
            case 0x4105: modelClass = kModelFormulas; break;
            default: return true;
        }
    }
    transport.ModelClass = record.ModelClass = modelClass;
    return true;
}

}  // namespace ravelfin
