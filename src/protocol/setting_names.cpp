#include "protocol/setting_names.h"

#include <array>

namespace ravelfin {
namespace {

constexpr std::array kTerminalType{
    ValueName{'0', "IBM PC/AT"},
    ValueName{'4', ""},
    ValueName{'5', "IBM PC/AT, External Keyboard"},
    ValueName{'6', "IBM PC/AT, NO External Keyboard"},
};
constexpr std::array kBeepVolume{
    ValueName{'0', "OFF"},        ValueName{'1', "LOW"},       ValueName{'2', "HIGH"},
    ValueName{'3', "Quick HIGH"}, ValueName{'4', "Quick LOW"},
};
constexpr std::array kBeepMode{
    ValueName{0, "OFF"},
    ValueName{2, "GOOD"},
    ValueName{4, "BAD"},
    ValueName{6, "BADGOOD"},
};
constexpr std::array kInterCharDelay{
    ValueName{'0', "2 ms"},  ValueName{'1', "5 ms"},  ValueName{'2', "10 ms"},
    ValueName{'3', "20 ms"}, ValueName{'4', "50 ms"}, ValueName{'5', "100 ms"},
};
constexpr std::array kHandshake{ValueName{'0', "X-On/X-Off"}, ValueName{'1', "RTS/CTS"}};
constexpr std::array kStopBits{ValueName{'0', "1 Bit"}, ValueName{'1', "2 Bits"}};
constexpr std::array kBaudRate{
    ValueName{'3', "2400"},  ValueName{'4', "4800"},  ValueName{'5', "9600"},
    ValueName{'6', "19200"}, ValueName{'7', "38400"},
};
constexpr std::array kDataBits{ValueName{'0', "8 Bits"}, ValueName{'1', "7 Bits"}};
constexpr std::array kParity{
    ValueName{'0', "None"}, ValueName{'1', "Even"},  ValueName{'2', "Odd"},
    ValueName{'3', "Mark"}, ValueName{'4', "Space"},
};
constexpr std::array kTrackSelect{
    ValueName{'0', "Any Track"},         ValueName{'1', "Track1 Only"},
    ValueName{'2', "Track2 Only"},       ValueName{'3', "Track1 And Track2"},
    ValueName{'4', "Track3 Only"},       ValueName{'5', "Track1 And Track3"},
    ValueName{'6', "Track2 And Track3"}, ValueName{'7', "All Three Tracks"},
    ValueName{'8', "Track1 Or Track2"},  ValueName{'9', "Track2 Or Track3"},
};
constexpr std::array kDataFormat{
    ValueName{'0', "Standard Format"},
    ValueName{'1', "Default Format"},
    ValueName{'2', "Default-2 Format"},
};
constexpr std::array kMsrReading{ValueName{'0', "Disabled"}, ValueName{'1', "Enabled"}};
constexpr std::array kDecodingMethod{
    ValueName{'0', "Raw Data, Not Decoded"},
    ValueName{'1', "Decoding In Two Swiping Direction"},
    ValueName{'2', "Magnetic Head Move Along Encoding Way"},
    ValueName{'3', "Magnetic Head Move Against Encoding Way"},
};
constexpr std::array kSendLrc{ValueName{'0', "Not Send LRC"}, ValueName{'1', "Send LRC"}};
constexpr std::array kHidFormat{
    ValueName{'0', "Default USB HID Data Format"},
    ValueName{'1', "Optional USB HID Data Format"},
    ValueName{'8', "Default HID Keyboard Data Format"},
};
constexpr std::array kKeyboardLanguage{
    ValueName{'0', "US"},        ValueName{'1', "Swiss"},
    ValueName{'2', "Swedish"},   ValueName{'3', "Spanish(Mexico)"},
    ValueName{'4', "Norwegian"}, ValueName{'5', "Italian"},
    ValueName{'6', "German"},    ValueName{'7', "French"},
    ValueName{'8', "Japanese"},  ValueName{'9', "UK"},
    ValueName{':', "Universal"},
};
constexpr std::array kEncryption{
    ValueName{'0', "Clear Text"},
    ValueName{'1', "Triple DES"},
    ValueName{'2', "AES"},
};

}  // namespace

std::string LookupValueName(ValueNameTable table, std::uint8_t value) {
    for (const ValueName& row : table) {
        if (row.value == value) {
            return row.name;
        }
    }
    return {};
}

ValueNameTable TerminalTypeNames() {
    return kTerminalType;
}
ValueNameTable BeepVolumeNames() {
    return kBeepVolume;
}
ValueNameTable BeepModeNames() {
    return kBeepMode;
}
ValueNameTable InterCharDelayNames() {
    return kInterCharDelay;
}
ValueNameTable HandshakeNames() {
    return kHandshake;
}
ValueNameTable StopBitsNames() {
    return kStopBits;
}
ValueNameTable BaudRateNames() {
    return kBaudRate;
}
ValueNameTable DataBitsNames() {
    return kDataBits;
}
ValueNameTable ParityNames() {
    return kParity;
}
ValueNameTable TrackSelectNames() {
    return kTrackSelect;
}
ValueNameTable DataFormatNames() {
    return kDataFormat;
}
ValueNameTable MsrReadingNames() {
    return kMsrReading;
}
ValueNameTable DecodingMethodNames() {
    return kDecodingMethod;
}
ValueNameTable SendLrcNames() {
    return kSendLrc;
}
ValueNameTable HidFormatNames() {
    return kHidFormat;
}
ValueNameTable KeyboardLanguageNames() {
    return kKeyboardLanguage;
}
ValueNameTable EncryptionNames() {
    return kEncryption;
}

std::string TerminalTypeName(std::uint8_t v) {
    return LookupValueName(kTerminalType, v);
}
std::string BeepVolumeName(std::uint8_t v) {
    return LookupValueName(kBeepVolume, v);
}
std::string BeepModeName(std::uint8_t v) {
    return LookupValueName(kBeepMode, v);
}
std::string InterCharDelayName(std::uint8_t v) {
    return LookupValueName(kInterCharDelay, v);
}
std::string HandshakeName(std::uint8_t v) {
    return LookupValueName(kHandshake, v);
}
std::string StopBitsName(std::uint8_t v) {
    return LookupValueName(kStopBits, v);
}
std::string BaudRateName(std::uint8_t v) {
    return LookupValueName(kBaudRate, v);
}
std::string DataBitsName(std::uint8_t v) {
    return LookupValueName(kDataBits, v);
}
std::string ParityName(std::uint8_t v) {
    return LookupValueName(kParity, v);
}
std::string TrackSelectName(std::uint8_t v) {
    return LookupValueName(kTrackSelect, v);
}
std::string DataFormatName(std::uint8_t v) {
    return LookupValueName(kDataFormat, v);
}
std::string MsrReadingName(std::uint8_t v) {
    return LookupValueName(kMsrReading, v);
}
std::string DecodingMethodName(std::uint8_t v) {
    return LookupValueName(kDecodingMethod, v);
}
std::string SendLrcName(std::uint8_t v) {
    return LookupValueName(kSendLrc, v);
}
std::string HidFormatName(std::uint8_t v) {
    return LookupValueName(kHidFormat, v == '2' ? '8' : v);
}
std::string KeyboardLanguageName(std::uint8_t v) {
    return LookupValueName(kKeyboardLanguage, v);
}
std::string EncryptionName(std::uint8_t v) {
    return LookupValueName(kEncryption, v);
}

}  // namespace ravelfin
