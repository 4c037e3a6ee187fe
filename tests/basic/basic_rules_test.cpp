// The editor pages' rules where the widget tests do not reach: each firmware threshold from
// both sides, values outside the known ones, and typed intervals.
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

TEST(PageRules, EachFirmwareThresholdFromBothSides) {
    const struct {
        double firmware;
        bool quickBeeps, beepMode, sixBitSentinels, secureTrackLock;
    } cases[] = {
        {3.31, false, false, true, false}, {3.32, true, false, true, false},
        {3.99, true, false, true, false},  {4.0, true, false, false, false},
        {4.25, true, false, false, false}, {4.26, true, false, false, true},
        {4.29, true, false, false, true},  {4.3, true, true, false, true},
        {4.31, true, false, false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HasQuickBeeps(c.firmware), c.quickBeeps) << c.firmware;
        EXPECT_EQ(UsesBeepMode(c.firmware), c.beepMode) << c.firmware;
        EXPECT_EQ(SentinelField(1, 0, c.firmware) != nullptr, c.sixBitSentinels) << c.firmware;
        ReaderSettings secure = AtFirmware(c.firmware);
        secure.ModelClass = kModelSecurity;
        secure.SecurityLevel = '4';
        EXPECT_EQ(TrackPageLock(secure) == PageLock::kDisabled, c.secureTrackLock) << c.firmware;
    }
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
    EXPECT_EQ(BeepIndex(quickLow, 2), 4);
    quickLow.BeepVolume = '5';
    EXPECT_EQ(BeepIndex(quickLow, 2), -1);
    EXPECT_EQ(DigitIndex('/', 2), -1);
}

TEST(PageRules, SentinelsAndLocksOutsideTheKnownValues) {
    ReaderSettings settings = AtFirmware(3.5);
    const ReaderSettings before = settings;
    EXPECT_FALSE(StoreSentinel(settings, 1, 1, "#"));  // track 2 has no 6-bit sentinel
    EXPECT_FALSE(StoreSentinel(settings, 4, 0, "#"));
    EXPECT_FALSE(StoreSentinel(settings, 0, 3, "#"));
    EXPECT_EQ(settings, before);

    settings.FirmwareVersionNumber = 4.26;
    settings.ModelClass = kModelSecurity;
    const std::pair<std::uint8_t, PageLock> levels[] = {{'/', PageLock::kUnchanged},
                                                        {'0', PageLock::kEnabled},
                                                        {'2', PageLock::kEnabled},
                                                        {'3', PageLock::kDisabled},
                                                        {'5', PageLock::kUnchanged}};
    for (const auto& [level, lock] : levels) {
        settings.SecurityLevel = level;
        EXPECT_EQ(TrackPageLock(settings), lock) << level;
    }
    settings.SecurityLevel = '3';
    settings.ModelClass = kModelFormulas;
    EXPECT_EQ(TrackPageLock(settings), PageLock::kEnabled);
}

TEST(PageRules, PollIntervalIsAWholeNumberFrom1To255) {
    EXPECT_EQ(ParsePollInterval(" 17 "), 17);
    EXPECT_EQ(ParsePollInterval("001"), 1);
    EXPECT_EQ(ParsePollInterval("255"), 255);
    for (const char* bad : {"0", "256", "", "1a", "-1", "+5", "1000", "99999999999"})
        EXPECT_FALSE(ParsePollInterval(bad)) << bad;
}

}  // namespace
}  // namespace ravelfin
