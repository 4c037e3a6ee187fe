#include "basic/rules/sentinel_cells.h"

#include <array>

namespace ravelfin {

namespace {
using Field = std::uint8_t ReaderSettings::*;

constexpr int kSixBitRow = 1;
constexpr double kNoSixBitFirmware = 4.0;

constexpr std::array<std::string_view, kSentinelRows> kRowCaptions{
    "7 Bits Start Sentinel", "6 Bits Start Sentinel", "5 Bits Start Sentinel", "End Sentinel"};

constexpr std::array<std::array<Field, kSentinelTracks>, kSentinelRows> kFields{{
    {&ReaderSettings::Track1StartSentinel7, &ReaderSettings::Track2StartSentinel7,
     &ReaderSettings::Track3StartSentinel7},
    {&ReaderSettings::Track1StartSentinel6, nullptr, &ReaderSettings::Track3StartSentinel6},
    {&ReaderSettings::Track1StartSentinel5, &ReaderSettings::Track2StartSentinel5,
     &ReaderSettings::Track3StartSentinel5},
    {&ReaderSettings::Track1EndSentinel, &ReaderSettings::Track2EndSentinel,
     &ReaderSettings::Track3EndSentinel},
}};
}  // namespace

std::string_view SentinelRowCaption(int row) {
    return row >= 0 && row < kSentinelRows ? kRowCaptions[static_cast<std::size_t>(row)] : "";
}

std::uint8_t ReaderSettings::*SentinelField(int row, int track, double firmware) {
    if (row < 0 || row >= kSentinelRows || track < 0 || track >= kSentinelTracks)
        return nullptr;
    if (row == kSixBitRow && firmware >= kNoSixBitFirmware)
        return nullptr;
    return kFields[static_cast<std::size_t>(row)][static_cast<std::size_t>(track)];
}

bool StoreSentinel(ReaderSettings& settings, int row, int track, std::string_view text) {
    const Field field = SentinelField(row, track, settings.FirmwareVersionNumber);
    if (!field || text.size() != 1)
        return false;
    settings.*field = static_cast<std::uint8_t>(text.front());
    return true;
}

}  // namespace ravelfin
