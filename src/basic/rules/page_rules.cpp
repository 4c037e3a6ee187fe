#include "basic/rules/page_rules.h"

#include <cctype>

#include "protocol/firmware_version.h"

namespace ravelfin {

namespace {
constexpr double kSecureTrackFirmware = 4.25;
}  // namespace

bool LocksTrackFraming(std::uint8_t securityLevel) {
    return securityLevel == '3' || securityLevel == '4';
}

PageLock TrackPageLock(const ReaderSettings& settings) {
    if (settings.ModelClass != kModelSecurity ||
        !(settings.FirmwareVersionNumber > kSecureTrackFirmware)) {
        return PageLock::kEnabled;
    }
    if (LocksTrackFraming(settings.SecurityLevel))
        return PageLock::kDisabled;
    if (settings.SecurityLevel >= '0' && settings.SecurityLevel <= '2')
        return PageLock::kEnabled;
    return PageLock::kUnchanged;
}

bool HasKeyboardSettings(std::uint32_t interfaceType) {
    return interfaceType == kInterfacePs2 || interfaceType == kInterfaceUsbHidKb;
}

std::uint8_t WithBit(std::uint8_t options, int bit, bool set) {
    const auto mask = static_cast<std::uint8_t>(1u << bit);
    return set ? static_cast<std::uint8_t>(options | mask)
               : static_cast<std::uint8_t>(options & ~mask);
}

bool HasBit(std::uint8_t options, int bit) {
    return (options >> bit) & 1u;
}

std::optional<std::uint8_t> ParsePollInterval(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < kMinPollInterval || value > kMaxPollInterval)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

}  // namespace ravelfin
