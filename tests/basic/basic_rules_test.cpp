// The editor pages' rules where the widget tests do not reach: every beep button at the
// firmware boundaries, values outside the known ones, and typed intervals.
#include <gtest/gtest.h>

#include "basic/rules/general_choices.h"
#include "basic/rules/page_rules.h"
#include "basic/rules/sentinel_cells.h"
#include "protocol/firmware_version.h"

namespace ravelfin {
namespace {

ReaderSettings AtFirmware(double firmware) {
    ReaderSettings settings(kInterfaceUsbHid);
    settings.FirmwareVersionNumber = firmware;
    return settings;
}

TEST(BeepChoices, Firmware43WritesTheBeepModeOthersTheVolume) {
    const std::uint8_t modes[] = {0, 4, 2, 6};  // OFF, Bad, Good, BadGood
    for (int index = 0; index < 4; ++index) {
        ReaderSettings at43 = AtFirmware(4.3);
        StoreBeep(at43, index);
        EXPECT_EQ(at43.BeepMode, modes[index]);
        EXPECT_EQ(BeepIndex(at43, -1), index);
        ReaderSettings at429 = AtFirmware(4.29);
        StoreBeep(at429, index);
        EXPECT_EQ(at429.BeepVolume, '0' + index);
        EXPECT_EQ(at429.BeepMode, 2);
    }
    ReaderSettings quickLow = AtFirmware(4.3);
    StoreBeep(quickLow, 4);
    EXPECT_EQ(quickLow.BeepVolume, '4');

    // An unknown beep mode keeps the button that was selected; an unknown volume selects none.
    quickLow.BeepMode = 7;
    EXPECT_EQ(BeepIndex(quickLow, 2), 2);
    quickLow.FirmwareVersionNumber = 3.5;
    quickLow.BeepVolume = '5';
    EXPECT_EQ(BeepIndex(quickLow, 2), -1);
    EXPECT_EQ(DigitIndex('/', 2), -1);
}

TEST(PageRules, SentinelsAndLocksAtTheirBoundariesAndOutsideTheKnownValues) {
    EXPECT_EQ(SentinelField(1, 0, 3.99), &ReaderSettings::Track1StartSentinel6);
    EXPECT_EQ(SentinelField(1, 0, 4.0), nullptr);
    ReaderSettings settings = AtFirmware(3.5);
    const ReaderSettings before = settings;
    EXPECT_FALSE(StoreSentinel(settings, 1, 1, "#"));  // track 2 has no 6-bit sentinel
    EXPECT_FALSE(StoreSentinel(settings, 4, 0, "#"));
    EXPECT_FALSE(StoreSentinel(settings, 0, 3, "#"));
    EXPECT_EQ(settings, before);

    settings.FirmwareVersionNumber = 4.25;
    settings.ModelClass = kModelSecurity;
    settings.SecurityLevel = '4';
    EXPECT_EQ(TrackPageLock(settings), PageLock::kEnabled);
    settings.FirmwareVersionNumber = 4.26;
    EXPECT_EQ(TrackPageLock(settings), PageLock::kDisabled);
    settings.SecurityLevel = '5';
    EXPECT_EQ(TrackPageLock(settings), PageLock::kUnchanged);
    settings.SecurityLevel = '3';
    settings.ModelClass = kModelFormulas;
    EXPECT_EQ(TrackPageLock(settings), PageLock::kEnabled);
}

TEST(PageRules, PollIntervalIsAWholeNumberFrom1To255) {
    EXPECT_EQ(ParsePollInterval(" 17 "), 17);
    EXPECT_EQ(ParsePollInterval("007"), 7);
    for (const char* bad : {"0", "", "1a", "-1", "+5", "1000", "99999999999"})
        EXPECT_FALSE(ParsePollInterval(bad)) << bad;
}

}  // namespace
}  // namespace ravelfin
