#include "fleet/setting_fields.h"

#include <array>

#include "protocol/settings_encoder.h"
#include "protocol/settings_parser.h"

namespace ravelfin {

namespace {

constexpr std::size_t kFrameBuffer = 2048;

// Listed in the record's order so that the JSON reads like the record.
constexpr ByteSetting kByteSettings[] = {
    {"TerminalType", 0x10, &ReaderSettings::TerminalType},
    {"BeepVolume", 0x11, &ReaderSettings::BeepVolume},
    {"BeepMode", 0xAE, &ReaderSettings::BeepMode},
    {"InterCharDelay", 0x12, &ReaderSettings::InterCharDelay},
    {"Handshake", 'D', &ReaderSettings::Handshake},
    {"StopBits", 'E', &ReaderSettings::StopBits},
    {"BaudRate", 'A', &ReaderSettings::BaudRate},
    {"DataBits", 'B', &ReaderSettings::DataBits},
    {"Parity", 'C', &ReaderSettings::Parity},
    {"XOnChar", 'G', &ReaderSettings::XOnChar},
    {"XOffChar", 'H', &ReaderSettings::XOffChar},
    {"TrackSelect", 0x13, &ReaderSettings::TrackSelect},
    {"TrackSeparator", 0x17, &ReaderSettings::TrackSeparator},
    {"DataFormat", 0x15, &ReaderSettings::DataFormat},
    {"UicOptions", 0x16, &ReaderSettings::UicOptions},
    {"Terminator", '!', &ReaderSettings::Terminator},
    {"SendOptions", 0x19, &ReaderSettings::SendOptions},
    {"MsrReading", 0x1A, &ReaderSettings::MsrReading},
    {"DecodingMethod", 0x1D, &ReaderSettings::DecodingMethod},
    {"SendLrc", 0x60, &ReaderSettings::SendLrc},
    {"HidFormat", '#', &ReaderSettings::HidFormat},
    {"Track1StartSentinel7", 'a', &ReaderSettings::Track1StartSentinel7},
    {"Track1StartSentinel6", 'b', &ReaderSettings::Track1StartSentinel6},
    {"Track1StartSentinel5", 'c', &ReaderSettings::Track1StartSentinel5},
    {"Track2StartSentinel7", 'd', &ReaderSettings::Track2StartSentinel7},
    {"Track2StartSentinel5", 'e', &ReaderSettings::Track2StartSentinel5},
    {"Track3StartSentinel7", 'f', &ReaderSettings::Track3StartSentinel7},
    {"Track3StartSentinel6", 'g', &ReaderSettings::Track3StartSentinel6},
    {"Track3StartSentinel5", 'h', &ReaderSettings::Track3StartSentinel5},
    {"KbPollInterval", 0x14, &ReaderSettings::KbPollInterval},
    {"KbPollIntervalRead", 0, &ReaderSettings::KbPollIntervalRead, false},
    {"KeyboardLanguage", '$', &ReaderSettings::KeyboardLanguage},
    {"Option25", '%', &ReaderSettings::Option25},
    {"Track1EndSentinel", 'i', &ReaderSettings::Track1EndSentinel},
    {"Track2EndSentinel", 'j', &ReaderSettings::Track2EndSentinel},
    {"Track3EndSentinel", 'k', &ReaderSettings::Track3EndSentinel},
    {"PrePan", 'I', &ReaderSettings::PrePan},
    {"PostPan", 'J', &ReaderSettings::PostPan},
    {"MaskChar", 'K', &ReaderSettings::MaskChar},
    {"Encryption", 'L', &ReaderSettings::Encryption},
    {"SecurityLevel", '~', &ReaderSettings::SecurityLevel},
    {"HidFormatBeforeLoad", 0, &ReaderSettings::HidFormatBeforeLoad, false},
    {"mode", 0x1B, &ReaderSettings::mode},
};

constexpr StringSetting kStringSettings[] = {
    {"Preamble", 0xD2, &ReaderSettings::Preamble, 15},
    {"Postamble", 0xD3, &ReaderSettings::Postamble, 15},
    {"Track1Prefix", '4', &ReaderSettings::Track1Prefix, 6},
    {"Track2Prefix", '5', &ReaderSettings::Track2Prefix, 6},
    {"Track3Prefix", '6', &ReaderSettings::Track3Prefix, 6},
    {"Track1Suffix", '7', &ReaderSettings::Track1Suffix, 6},
    {"Track2Suffix", '8', &ReaderSettings::Track2Suffix, 6},
    {"Track3Suffix", '9', &ReaderSettings::Track3Suffix, 6},
};

constexpr DataEditSetting kDataEditSettings[] = {
    {"addedFields", 0xFA},
    {"custom", 0xFB},
    {"formulas", 0xFC},
    {"custom2", 0xFD},
};

}  // namespace

std::span<const DataEditSetting> DataEditSettingNames() {
    return kDataEditSettings;
}

std::vector<std::string> SettingNames() {
    std::vector<std::string> names;
    for (const ByteSetting& s : kByteSettings) {
        if (s.IsSetting)
            names.push_back(s.Name);
    }
    for (const StringSetting& s : kStringSettings)
        names.push_back(s.Name);
    for (const DataEditSetting& s : kDataEditSettings)
        names.push_back(s.Name);
    return names;
}

bool SameSetting(const ReaderSettings& a, const ReaderSettings& b, const std::string& name) {
    for (const ByteSetting& s : kByteSettings) {
        if (name == s.Name)
            return a.*s.Field == b.*s.Field;
    }
    for (const StringSetting& s : kStringSettings) {
        if (name == s.Name)
            return a.*s.Field == b.*s.Field;
    }
    if (name == "addedFields")
        return a.addedFields == b.addedFields;
    if (name == "custom")
        return a.custom == b.custom;
    if (name == "custom2")
        return a.custom2 == b.custom2;
    return name != "formulas" || a.formulas == b.formulas;
}

std::span<const ByteSetting> ByteSettings() {
    return kByteSettings;
}

std::span<const StringSetting> StringSettings() {
    return kStringSettings;
}

bool AsStoredBy(ReaderSettings& record, double firmware) {
    ReaderSettings copy = record;
    copy.FirmwareVersionNumber = firmware;
    std::array<std::uint8_t, kFrameBuffer> frame{};
    std::size_t length = 0;
    if (!EncodeAllSettings(copy, frame, length))
        return false;
    if (!ParseSettings(std::span(frame).first(length), copy))
        return false;
    record = copy;
    return true;
}

}  // namespace ravelfin
