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
    return r;
}

// The lines that decode bits, spell bytes and pick the formulas; the name of each value is
// the name tables' business.
TEST(SettingsReport, SerialReaderWithOldFirmware) {
    ReaderSettings r = Record(kInterfaceRs232, 3.31, 0);
    r.Terminator = 0x0A;
    r.UicOptions = 0x58;
    r.SendOptions = 0x36;
    r.SendLrc = '1';
    r.Track1StartSentinel6 = 'b';
    r.Track3StartSentinel6 = 'i';
    r.Track1Prefix = {0x02, 'A'};
    r.Track3Suffix = {0xD1};
    r.Preamble = {'P', 0x1B};
    r.Postamble = {0x97, 0xE9};
    r.formulas[0] = {0x20, 0x2A, 0x48};
    r.formulas[1] = {0x48};
    r.formulas[3] = {0x21};
    const std::string text = BuildSettingsReport(r, "V3.31");
    for (const char* part :
         {"=============Check Current Ravelfin Settings===============\r\n"
          "Software version: Orvane Ravelfin Configuration Utility Version 2.9\r\n"
          "Beep Volume: HIGH\r\nHandShake: ",
          "UIC LRC Option: Send  LRC\r\nTerminator: \\lf\r\nSend Out Format: \r\n"
          "\tNOT Send Start/End Sentinel\r\n\tOnly Send Account Number For Track2\r\n"
          "\tSend Error Indication\r\n\tSend LRC\r\nEnable/Disable MSR: ",
          "\r\nTrack 1 6 bit encoding Start Sentinel: b\r\n",
          "\r\nTrack 3 6 bit encoding Start Sentinel: i\r\n", "\r\nTrack 1 Prefix: \\stxA\r\n",
          "\r\nTrack 3 Suffix: \\cr_lf\r\nPreamble:P\\esc\r\nPostamble:\\esc\xE9\r\n"
          "Data Edit-CreditCard:1a1021\r\nData Edit-CDL:20\r\nData Edit-AAMVA:\r\n"
          "Data Edit-Custom1:1b\r\n\r\nINTERFACE_TYPE: RS232\r\nFirmware Version: V3.31\r\n"})
        EXPECT_TRUE(Has(text, part)) << part << "\n in:\n" << text;
    EXPECT_TRUE(text.ends_with("Firmware Version: V3.31\r\n"));
}

TEST(SettingsReport, SecureReaderEndsWithSecurityBlockAndPollingIntervalAndHidesPrefixes) {
    ReaderSettings r = Record(kInterfaceUsbHidKb, 4.27, 30000);
    r.SecurityLevel = '3';
    r.Encryption = '1';
    r.PrePan = 6;
    r.MaskChar = '#';
    r.SerialNumber = {5, 'S', 'N', '1', '2', '3'};
    r.KbPollInterval = 8;
    const std::string text = BuildSettingsReport(r, "V4.27");
    EXPECT_TRUE(Has(text, "UIC LRC Option: Do Not Send LRC\r\n"));
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
    EXPECT_EQ(text.substr(text.size() - std::min(text.size(), tail.size())), tail);

    // Only the two highest levels hide the prefixes and suffixes, all six of them.
    for (std::uint8_t level : {'0', '1', '2', '4'}) {
        r.SecurityLevel = level;
        const std::string shown = BuildSettingsReport(r, "");
        EXPECT_EQ(Has(shown, "Sentinel: ?\r\nTrack 1 Prefix: \r\n"), level < '3') << level;
        EXPECT_EQ(Has(shown, "Track 3 Suffix: \r\nPreamble:"), level < '3') << level;
        EXPECT_TRUE(Has(shown, "Security Level:" + std::string(1, char(level)) + "\r\n"));
    }
    r.Encryption = '5';  // no name: an empty line
    EXPECT_TRUE(Has(BuildSettingsReport(r, ""), "Mask Char:'#'\r\n\r\nSecurity Level:4\r\n"));
    const std::pair<std::array<std::uint8_t, 11>, const char*> serials[] = {
        {{3, 'A', 'B', 'C', 'D'}, "ABC"},
        {{3, 0xFF, 'B', 'C'}, ""},
        {{3, 0x1F, 'B', 'C'}, ""},
        {{3, ' ', 'B', 'C'}, " BC"},
        {{200, '0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}, "0123456789"},
        {{9, 'Q', 'R', 0, 'S'}, "QR"}};
    for (const auto& [serial, shown] : serials) {
        r.SerialNumber = serial;
        EXPECT_TRUE(Has(BuildSettingsReport(r, ""),
                        "Security Level:4\r\nSerial number:" + std::string(shown) + "\r\n\r\n"))
            << shown;
    }
}

TEST(SettingsReport, InterfaceTypeChoosesItsOwnLines) {
    const struct {
        std::uint32_t type;
        bool ps2, serial, polling;
    } cases[] = {{kInterfacePs2, true, false, false},      {kInterfaceRs232, false, true, false},
                 {kInterfaceUsbHidKb, false, false, true}, {kInterfaceUsbHid, false, false, false},
                 {kInterfaceUsbRs232, false, false, false}, {kInterfaceUnknown, false, false, false}};
    for (const auto& c : cases) {
        const std::string text = BuildSettingsReport(Record(c.type, 3.5, 0), "");
        EXPECT_EQ(Has(text, "Terminal Type: "), c.ps2) << c.type;
        EXPECT_EQ(Has(text, "Inter Character Delay: "), c.ps2) << c.type;
        EXPECT_EQ(Has(text, "HandShake: "), c.serial) << c.type;
        EXPECT_EQ(Has(text, "USB HID KB Polling Interval: "), c.polling) << c.type;
    }
    ReaderSettings ps2 = Record(kInterfacePs2, 3.5, 0);
    EXPECT_TRUE(Has(BuildSettingsReport(ps2, ""), "Terminal Type: IBM PC/AT\r\nBeep Volume: HIGH\r\n"
                                                  "Inter Character Delay: 2 ms\r\n"));
    ps2.TerminalType = '4';  // a value without a name prints an empty name
    EXPECT_TRUE(Has(BuildSettingsReport(ps2, ""), "Terminal Type: \r\nBeep Volume: HIGH\r\n"));
}

TEST(SettingsReport, VersionAndModelClassChooseBeepSentinelsFormulasAndSecurity) {
    const struct {
        double version;
        std::uint32_t modelClass;
        const char* beep;  // the default beep volume is HIGH, the default mode GOOD
        bool sixBit;
        const char* slotOne;  // nullptr: no formulas
        bool security;
    } cases[] = {
        {3.31, 0, "HIGH\r\n", true, "CDL", false},
        {3.32, 0, "HIGH\r\n", false, "CDL", false},
        {3.33, 0, "HIGH\r\n", false, "Custom2", false},
        {4.25, 30000, "HIGH\r\n", false, "Custom2", false},
        {4.27, 10000, "HIGH\r\n", false, "Custom2", false},
        {4.27, 30000, "HIGH\r\n", false, nullptr, true},
        {4.3, 10000, "GOOD\n", false, "Custom2", false},
        {4.31, 0, "HIGH\r\n", false, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.version) + " " + std::to_string(c.modelClass));
        const std::string text =
            BuildSettingsReport(Record(kInterfaceUsbHid, c.version, c.modelClass), "");
        EXPECT_TRUE(Has(text, "Version 2.9\r\nBeep Volume: " + std::string(c.beep) + "Track Select"));
        EXPECT_EQ(Has(text, "Track 1 6 bit encoding Start Sentinel: %\r\n"), c.sixBit);
        EXPECT_EQ(Has(text, "Track 3 6 bit encoding Start Sentinel: !\r\n"), c.sixBit);
        EXPECT_EQ(Has(text, "Data Edit-"), c.slotOne != nullptr);
        if (c.slotOne) {
            EXPECT_TRUE(Has(text, "Data Edit-CreditCard:\r\nData Edit-" + std::string(c.slotOne) +
                                      ":\r\nData Edit-AAMVA:"));
        }
        EXPECT_EQ(Has(text, "PrePAN:"), c.security);
        if (!c.slotOne && !c.security) {
            EXPECT_TRUE(Has(text, "Preamble:\r\nPostamble:\r\nINTERFACE_TYPE: USB-HID\r\n"));
        }
    }
    ReaderSettings r = Record(kInterfaceUsbHid, 4.3, 0);
    r.BeepMode = 1;  // a mode without a name: no beep line at all
    EXPECT_FALSE(Has(BuildSettingsReport(r, ""), "Beep Volume"));
}

}  // namespace
}  // namespace ravelfin
