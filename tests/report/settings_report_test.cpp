#include "report/settings_report.h"

#include <gtest/gtest.h>

namespace ravelfin {
namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

ReaderSettings Record(std::uint32_t type, double version, std::uint32_t modelClass) {
    ReaderSettings r(type);
    r.FirmwareVersionNumber = version;
    r.ModelClass = modelClass;
    r.HidFormat = '0';
    r.SecurityLevel = '0';
    return r;
}

TEST(SettingsReport, SerialReaderWithOldFirmware) {
    ReaderSettings r = Record(kInterfaceRs232, 3.31, 0);
    r.Handshake = '1';
    r.StopBits = '0';
    r.BaudRate = '5';
    r.DataBits = '1';
    r.Parity = '2';
    r.XOnChar = 0x11;
    r.XOffChar = 0x13;
    r.TrackSelect = '3';
    r.Terminator = 0x0A;
    r.UicOptions = 0x58;
    r.SendOptions = 0x36;
    r.SendLrc = '1';
    r.DecodingMethod = '2';
    r.Track1StartSentinel7 = 'a';
    r.Track1StartSentinel6 = 'b';
    r.Track1StartSentinel5 = 'c';
    r.Track1EndSentinel = 'd';
    r.Track2StartSentinel7 = 'e';
    r.Track2StartSentinel5 = 'f';
    r.Track2EndSentinel = 'g';
    r.Track3StartSentinel7 = 'h';
    r.Track3StartSentinel6 = 'i';
    r.Track3StartSentinel5 = 'j';
    r.Track3EndSentinel = 'k';
    r.Track1Prefix = {0x02, 'A'};
    r.Track2Prefix = {'B'};
    r.Track3Prefix = {'C'};
    r.Track1Suffix = {'D'};
    r.Track2Suffix = {'E'};
    r.Track3Suffix = {0xD1};
    r.Preamble = {'P', 0x1B};
    r.Postamble = {0x97, 0xE9};
    r.formulas[0] = {0x20, 0x2A, 0x48};
    r.formulas[1] = {0x48};
    r.formulas[3] = {0x21};

    EXPECT_EQ(BuildSettingsReport(r, "V3.31"),
              "=============Check Current Ravelfin Settings===============\r\n"
              "Software version: Orvane Ravelfin Configuration Utility Version 2.9\r\n"
              "Beep Volume: HIGH\r\n"
              "HandShake: RTS/CTS\r\n"
              "Stop Bit: 1 Bit\r\n"
              "Baud Rate: 9600\r\n"
              "Data Bit: 7 Bits\r\n"
              "Parity: Odd\r\n"
              "XOn Character: \\dc1\r\n"
              "XOff Character: \\dc3\r\n"
              "Track Select: Track1 And Track2\r\n"
              "Track Separator: \\cr\r\n"
              "Data Format: Standard Format\r\n"
              "USB HID Format: Default USB HID Data Format\r\n"
              "UIC LRC Option: Send  LRC\r\n"
              "Terminator: \\lf\r\n"
              "Send Out Format: \r\n"
              "\tNOT Send Start/End Sentinel\r\n"
              "\tOnly Send Account Number For Track2\r\n"
              "\tSend Error Indication\r\n"
              "\tSend LRC\r\n"
              "Enable/Disable MSR: Enabled\r\n"
              "Format & Direction: Magnetic Head Move Along Encoding Way\r\n"
              "Track 1 7 bit encoding Start Sentinel: a\r\n"
              "Track 1 6 bit encoding Start Sentinel: b\r\n"
              "Track 1 5 bit encoding Start Sentinel: c\r\n"
              "Track 1 End Sentinel: d\r\n"
              "Track 2 7 bit encoding Start Sentinel: e\r\n"
              "Track 2 5 bit encoding Start Sentinel: f\r\n"
              "Track 2 End Sentinel: g\r\n"
              "Track 3 7 bit encoding Start Sentinel: h\r\n"
              "Track 3 6 bit encoding Start Sentinel: i\r\n"
              "Track 3 5 bit encoding Start Sentinel: j\r\n"
              "Track 3 End Sentinel: k\r\n"
              "Track 1 Prefix: \\stxA\r\n"
              "Track 2 Prefix: B\r\n"
              "Track 3 Prefix: C\r\n"
              "Track 1 Suffix: D\r\n"
              "Track 2 Suffix: E\r\n"
              "Track 3 Suffix: \\cr_lf\r\n"
              "Preamble:P\\esc\r\n"
              "Postamble:\\esc\xE9\r\n"
              "Data Edit-CreditCard:1a1021\r\n"
              "Data Edit-CDL:20\r\n"
              "Data Edit-AAMVA:\r\n"
              "Data Edit-Custom1:1b\r\n"
              "\r\n"
              "INTERFACE_TYPE: RS232\r\n"
              "Firmware Version: V3.31\r\n");
}

TEST(SettingsReport, SecureKeyboardReader) {
    ReaderSettings r = Record(kInterfaceUsbHidKb, 4.27, 30000);
    r.BeepVolume = '3';
    r.HidFormat = '8';
    r.SecurityLevel = '3';
    r.Encryption = '1';
    r.PrePan = 6;
    r.MaskChar = '#';
    r.SerialNumber = {5, 'S', 'N', '1', '2', '3'};
    r.KbPollInterval = 8;
    r.Track1Prefix = {'X'};
    r.formulas[0] = {0x20};

    const std::string text = BuildSettingsReport(r, "V4.27");
    EXPECT_TRUE(Has(text, "Version 2.9\r\nBeep Volume: Quick HIGH\r\nTrack Select: Any Track\r\n"));
    EXPECT_TRUE(Has(text,
                    "USB HID Format: Default HID Keyboard Data Format\r\n"
                    "UIC LRC Option: Do Not Send LRC\r\n"));
    EXPECT_FALSE(Has(text, "6 bit encoding"));
    const std::string tail =
        "Track 3 End Sentinel: ?\r\n"
        "Preamble:\r\n"
        "Postamble:\r\n"
        "PrePAN:6\r\n"
        "PostPAN:4\r\n"
        "Mask Char:'#'\r\n"
        "Encryption: Triple DES\r\n"
        "Security Level:3\r\n"
        "Serial number:SN123\r\n"
        "\r\n"
        "USB HID KB Polling Interval: 8\r\n"
        "\r\n"
        "INTERFACE_TYPE: USB-HID-KB\r\n"
        "Firmware Version: V4.27\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(SettingsReport, InterfaceTypeChoosesItsOwnLines) {
    const char* terminal = "Terminal Type: ";
    const char* delay = "Inter Character Delay: 2 ms\r\n";
    const char* serial = "HandShake: ";
    const char* polling = "USB HID KB Polling Interval: 1\r\n";
    const std::string ps2 = BuildSettingsReport(Record(kInterfacePs2, 3.5, 0), "");
    EXPECT_TRUE(Has(ps2, "Terminal Type: IBM PC/AT\r\nBeep Volume: HIGH\r\n" + std::string(delay)));
    EXPECT_FALSE(Has(ps2, serial));
    EXPECT_FALSE(Has(ps2, polling));
    EXPECT_TRUE(Has(ps2, "INTERFACE_TYPE: PS/2 Keyboard\r\n"));
    for (std::uint32_t type : {kInterfaceUnknown, kInterfaceUsbRs232, kInterfaceUsbHid}) {
        const std::string text = BuildSettingsReport(Record(type, 3.5, 0), "");
        EXPECT_FALSE(Has(text, terminal) || Has(text, delay) || Has(text, serial) ||
                     Has(text, polling))
            << type;
    }
    // A value without a name prints an empty name.
    ReaderSettings notebook = Record(kInterfacePs2, 3.5, 0);
    notebook.TerminalType = '4';
    notebook.HidFormat = '2';
    const std::string text = BuildSettingsReport(notebook, "");
    EXPECT_TRUE(Has(text, "Terminal Type: \r\n"));
    EXPECT_TRUE(Has(text, "USB HID Format: Default HID Keyboard Data Format\r\n"));
}

TEST(SettingsReport, BeepLineOfFirmwareFourPointThree) {
    ReaderSettings r = Record(kInterfaceUsbHid, 4.3, 0);
    r.BeepVolume = '0';
    const std::string soundsFrom =
        "Software version: Orvane Ravelfin Configuration Utility "
        "Version 2.9\r\n";
    for (auto [mode, line] : {std::pair{0, "Beep Volume: OFF\n"},
                              {2, "Beep Volume: GOOD\n"},
                              {4, "Beep Volume: BAD\n"},
                              {6, "Beep Volume: BADGOOD\n"}}) {
        r.BeepMode = static_cast<std::uint8_t>(mode);
        EXPECT_TRUE(Has(BuildSettingsReport(r, ""), soundsFrom + line + "Track Select:")) << mode;
    }
    r.BeepMode = 1;
    EXPECT_FALSE(Has(BuildSettingsReport(r, ""), "Beep Volume"));
    r.FirmwareVersionNumber = 4.31;
    EXPECT_TRUE(Has(BuildSettingsReport(r, ""), "Beep Volume: OFF\r\n"));
}

TEST(SettingsReport, VersionDecidesSentinelsAndSlotName) {
    struct Case {
        double version;
        bool sixBit;
        const char* slotOne;
    };
    for (const Case& c :
         {Case{3.31, true, "CDL"}, Case{3.32, false, "CDL"}, Case{3.33, false, "Custom2"}}) {
        const std::string text = BuildSettingsReport(Record(kInterfaceUsbHid, c.version, 0), "");
        EXPECT_EQ(Has(text, "Track 1 6 bit encoding Start Sentinel: %\r\n"), c.sixBit);
        EXPECT_EQ(Has(text, "Track 3 6 bit encoding Start Sentinel: !\r\n"), c.sixBit);
        EXPECT_TRUE(Has(text, "Data Edit-CreditCard:\r\nData Edit-" + std::string(c.slotOne) +
                                  ":\r\nData Edit-AAMVA:"))
            << c.version;
    }
}

TEST(SettingsReport, ModelClassChoosesFormulasOrSecurity) {
    struct Case {
        double version;
        std::uint32_t modelClass;
        bool formulas;
        bool security;
    };
    for (const Case& c : {Case{4.25, 0, true, false}, Case{4.25, 30000, true, false},
                          Case{4.27, 30000, false, true}, Case{4.27, 10000, true, false},
                          Case{4.27, 0, false, false}}) {
        const std::string text =
            BuildSettingsReport(Record(kInterfaceUsbHid, c.version, c.modelClass), "");
        EXPECT_EQ(Has(text, "Data Edit-"), c.formulas) << c.version << " " << c.modelClass;
        EXPECT_EQ(Has(text, "PrePAN:"), c.security) << c.version << " " << c.modelClass;
        if (!c.formulas && !c.security) {
            EXPECT_TRUE(Has(text, "Preamble:\r\nPostamble:\r\nINTERFACE_TYPE: USB-HID\r\n"));
        }
    }
}

TEST(SettingsReport, OnlyTheTwoHighestSecurityLevelsHidePrefixes) {
    ReaderSettings r = Record(kInterfaceUsbHid, 3.5, 0);
    r.Track2Suffix = {'~'};
    for (std::uint8_t level : {'0', '1', '2', '3', '4'}) {
        r.SecurityLevel = level;
        const std::string text = BuildSettingsReport(r, "");
        const bool shown = level < '3';
        EXPECT_EQ(Has(text, "Track 1 Prefix: \r\n"), shown) << level;
        EXPECT_EQ(Has(text, "Track 2 Suffix: ~\r\nTrack 3 Suffix: \r\nPreamble:"), shown) << level;
    }
}

TEST(SettingsReport, SecurityBlockLines) {
    ReaderSettings r = Record(kInterfaceUsbHid, 4.5, 30000);
    r.Encryption = '5';
    r.SecurityLevel = '1';
    r.SerialNumber = {3, 'A', 'B', 'C', 'D'};
    EXPECT_TRUE(Has(BuildSettingsReport(r, ""),
                    "Mask Char:'*'\r\n\r\nSecurity Level:1\r\nSerial number:ABC\r\n\r\n"));

    struct Case {
        std::array<std::uint8_t, 11> serial;
        const char* line;
    };
    for (const Case& c : {Case{{3, 0xFF, 'B', 'C'}, "\r\nSerial number:\r\n"},
                          Case{{3, 0x1F, 'B', 'C'}, "\r\nSerial number:\r\n"},
                          Case{{3, ' ', 'B', 'C'}, "\r\nSerial number: BC\r\n"},
                          Case{{200, '0', '1', '2', '3', '4', '5', '6', '7', '8', '9'},
                               "\r\nSerial number:0123456789\r\n"},
                          Case{{9, 'Q', 'R', 0, 'S'}, "\r\nSerial number:QR\r\n"}}) {
        r.SerialNumber = c.serial;
        EXPECT_TRUE(Has(BuildSettingsReport(r, ""), c.line)) << c.line;
    }
}

}  // namespace
}  // namespace ravelfin
