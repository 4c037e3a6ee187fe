#include "protocol/setting_names.h"

#include <gtest/gtest.h>

namespace ravelfin {
namespace {

TEST(SettingNames, ValuesWithoutANameGiveAnEmptyName) {
    EXPECT_EQ(TerminalTypeName('0'), "IBM PC/AT");
    EXPECT_EQ(TerminalTypeName('4'), "");
    EXPECT_EQ(TerminalTypeName('6'), "IBM PC/AT, NO External Keyboard");
    EXPECT_EQ(TerminalTypeName('1'), "");
    EXPECT_EQ(BaudRateName('2'), "");
    EXPECT_EQ(BaudRateName('7'), "38400");
    EXPECT_EQ(TrackSelectName('9'), "Track2 Or Track3");
    EXPECT_EQ(BeepModeName('2'), "");  // numeric setting: the digit is not a mode
    EXPECT_EQ(BeepModeName(6), "BADGOOD");
    EXPECT_EQ(KeyboardLanguageName(':'), "Universal");
    EXPECT_EQ(EncryptionName('5'), "");
}

TEST(SettingNames, HidFormatTwoSharesTheKeyboardName) {
    EXPECT_EQ(HidFormatName('2'), "Default HID Keyboard Data Format");
    EXPECT_EQ(HidFormatName('8'), "Default HID Keyboard Data Format");
    EXPECT_EQ(HidFormatName('1'), "Optional USB HID Data Format");
    // The editors offer three choices, in the order 0, 1, 8.
    ASSERT_EQ(HidFormatNames().size(), 3u);
    EXPECT_EQ(HidFormatNames()[2].value, '8');
}

}  // namespace
}  // namespace ravelfin
