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
    // Clicks on OFF, Bad/LOW, Good/HIGH, BadGood/Quick HIGH, Quick LOW.
    const std::uint8_t modes[] = {0, 4, 2, 6};
    for (int index = 0; index < 4; ++index) {
        ReaderSettings at43 = AtFirmware(4.3);
        at43.BeepVolume = 'v';
        StoreBeep(at43, index);
        EXPECT_EQ(at43.BeepMode, modes[index]);
        EXPECT_EQ(at43.BeepVolume, 'v');  // untouched
        EXPECT_EQ(BeepIndex(at43, -1), index);

        ReaderSettings at431 = AtFirmware(4.31);
        at431.BeepMode = 99;
        StoreBeep(at431, index);
        EXPECT_EQ(at431.BeepVolume, '0' + index);
        EXPECT_EQ(at431.BeepMode, 99);
        EXPECT_EQ(BeepIndex(at431, -1), index);
    }
    ReaderSettings quickLow = AtFirmware(4.3);
    StoreBeep(quickLow, 4);
    EXPECT_EQ(quickLow.BeepVolume, '4');

    // An unknown beep mode keeps the button that was selected; an unknown volume selects none.
    ReaderSettings unknown = AtFirmware(4.3);
    unknown.BeepMode = 7;
    EXPECT_EQ(BeepIndex(unknown, 2), 2);
    unknown.FirmwareVersionNumber = 3.5;
    unknown.BeepVolume = '5';
    EXPECT_EQ(BeepIndex(unknown, 2), -1);

    EXPECT_FALSE(HasQuickBeeps(3.31));
    EXPECT_TRUE(HasQuickBeeps(3.32));
    EXPECT_FALSE(UsesBeepMode(4.31));
    EXPECT_FALSE(UsesBeepMode(4.29));
}

TEST(RadioMappings, DigitsAndTerminalTypesLoadAndStore) {
    EXPECT_EQ(DigitIndex('0', 2), 0);
    EXPECT_EQ(DigitIndex(':', 11), 10);  // "Universal"
    EXPECT_EQ(DigitIndex('2', 2), -1);
    EXPECT_EQ(DigitIndex('/', 2), -1);

    for (int index = 0; index < 4; ++index)
        EXPECT_EQ(TerminalTypeIndex(TerminalTypeValue(index)), index);
    EXPECT_EQ(TerminalTypeValue(1), '4');
    EXPECT_EQ(TerminalTypeIndex('0'), 0);
    EXPECT_EQ(TerminalTypeIndex('3'), 0);
    EXPECT_EQ(TerminalTypeIndex('7'), 0);
}

TEST(SentinelCells, TheSixBitRowGoesFromFirmware40AndTrack2NeverHasOne) {
    EXPECT_EQ(SentinelField(1, 0, 3.99), &ReaderSettings::Track1StartSentinel6);
    EXPECT_EQ(SentinelField(1, 2, 3.99), &ReaderSettings::Track3StartSentinel6);
    EXPECT_EQ(SentinelField(1, 1, 3.99), nullptr);
    for (int track = 0; track < kSentinelTracks; ++track)
        EXPECT_EQ(SentinelField(1, track, 4.0), nullptr);
    EXPECT_EQ(SentinelField(0, 1, 4.0), &ReaderSettings::Track2StartSentinel7);
    EXPECT_EQ(SentinelField(3, 2, 4.0), &ReaderSettings::Track3EndSentinel);
    EXPECT_EQ(SentinelField(4, 0, 3.0), nullptr);
    EXPECT_EQ(SentinelField(0, 3, 3.0), nullptr);

    ReaderSettings settings = AtFirmware(3.5);
    EXPECT_TRUE(StoreSentinel(settings, 2, 1, "#"));
    EXPECT_EQ(settings.Track2StartSentinel5, '#');
    const ReaderSettings before = settings;
    EXPECT_FALSE(StoreSentinel(settings, 2, 1, "##"));
    EXPECT_FALSE(StoreSentinel(settings, 2, 1, ""));
    EXPECT_FALSE(StoreSentinel(settings, 1, 1, "#"));  // an INVALID cell
    EXPECT_EQ(settings, before);
}

TEST(PageLocks, OnlySecureReadersAbove425LockTheTrackPage) {
    ReaderSettings settings = AtFirmware(4.25);
    settings.ModelClass = kModelSecurity;
    settings.SecurityLevel = '3';
    EXPECT_EQ(TrackPageLock(settings), PageLock::kEnabled);
    settings.FirmwareVersionNumber = 4.26;
    EXPECT_EQ(TrackPageLock(settings), PageLock::kDisabled);
    settings.SecurityLevel = '4';
    EXPECT_EQ(TrackPageLock(settings), PageLock::kDisabled);
    settings.SecurityLevel = '2';
    EXPECT_EQ(TrackPageLock(settings), PageLock::kEnabled);
    settings.SecurityLevel = '0';
    EXPECT_EQ(TrackPageLock(settings), PageLock::kEnabled);
    settings.SecurityLevel = '5';
    EXPECT_EQ(TrackPageLock(settings), PageLock::kUnchanged);
    settings.SecurityLevel = '3';
    settings.ModelClass = kModelFormulas;
    EXPECT_EQ(TrackPageLock(settings), PageLock::kEnabled);

    EXPECT_TRUE(LocksTrackFraming('3') && LocksTrackFraming('4'));
    EXPECT_FALSE(LocksTrackFraming('2') || LocksTrackFraming(0));
    EXPECT_TRUE(HasKeyboardSettings(kInterfacePs2) && HasKeyboardSettings(kInterfaceUsbHidKb));
    EXPECT_FALSE(HasKeyboardSettings(kInterfaceUsbHid) || HasKeyboardSettings(kInterfaceRs232));
    EXPECT_TRUE(HasKeyboardWedgeTiming(kInterfaceUnknown) && HasKeyboardWedgeTiming(kInterfacePs2));
    EXPECT_FALSE(HasKeyboardWedgeTiming(kInterfaceUsbHidKb));
}

TEST(SendOptionBits, OneBitChangesTheOthersStay) {
    EXPECT_EQ(WithBit('7', kSendSentinelsBit, false), '6');
    EXPECT_EQ(WithBit('1', kAltFunctionKeysBit, true), '9');
    EXPECT_EQ(WithBit('9', kAltFunctionKeysBit, false), '1');
    EXPECT_EQ(WithBit('6', kErrorIndicationBit, true), '6');
    EXPECT_TRUE(HasBit('9', kAltFunctionKeysBit));
    EXPECT_FALSE(HasBit('7', kAltFunctionKeysBit));
}

TEST(PollInterval, OnlyWholeNumbersFrom1To255) {
    EXPECT_EQ(ParsePollInterval("255"), 255);
    EXPECT_EQ(ParsePollInterval("1"), 1);
    EXPECT_EQ(ParsePollInterval(" 17 "), 17);
    EXPECT_EQ(ParsePollInterval("007"), 7);
    for (const char* bad : {"256", "0", "", "  ", "1a", "-1", "+5", "1000", "99999999999"})
        EXPECT_FALSE(ParsePollInterval(bad)) << bad;
}

}  // namespace
}  // namespace ravelfin
