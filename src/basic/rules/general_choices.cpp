#include "basic/rules/general_choices.h"

#include <array>

namespace ravelfin {

namespace {
constexpr double kBeepModeFirmware = 4.3;
constexpr double kQuickBeepFirmware = 3.32;
constexpr int kQuickLowIndex = 4;
// BeepMode values of the buttons OFF, Bad, Good and BadGood.
constexpr std::array<std::uint8_t, 4> kBeepModes{0, 4, 2, 6};
}  // namespace

int DigitIndex(std::uint8_t value, int count) {
    const int index = value - '0';
    return index >= 0 && index < count ? index : -1;
}

bool UsesBeepMode(double firmware) {
    return firmware == kBeepModeFirmware;
}

bool HasQuickBeeps(double firmware) {
    return firmware >= kQuickBeepFirmware;
}

int BeepIndex(const ReaderSettings& settings, int current) {
    if (!UsesBeepMode(settings.FirmwareVersionNumber))
        return DigitIndex(settings.BeepVolume, kQuickLowIndex + 1);
    for (std::size_t i = 0; i < kBeepModes.size(); ++i) {
        if (kBeepModes[i] == settings.BeepMode)
            return static_cast<int>(i);
    }
    return current;
}

void StoreBeep(ReaderSettings& settings, int index) {
    if (index < 0 || index > kQuickLowIndex)
        return;
    if (index < kQuickLowIndex && UsesBeepMode(settings.FirmwareVersionNumber)) {
        settings.BeepMode = kBeepModes[static_cast<std::size_t>(index)];
        return;
    }
    settings.BeepVolume = static_cast<std::uint8_t>('0' + index);
}

}  // namespace ravelfin
