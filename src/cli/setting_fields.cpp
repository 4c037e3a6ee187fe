#include "cli/setting_fields.h"

#include <array>

#include "protocol/settings_encoder.h"
#include "protocol/settings_parser.h"

namespace ravelfin::cli {

namespace {

constexpr std::size_t kFrameBuffer = 2048;

// Listed in the record's order so that the JSON reads like the record.
constexpr ByteSetting kByteSettings[] = {
    {"TerminalType", &ReaderSettings::TerminalType},
    {"BeepVolume", &ReaderSettings::BeepVolume},
    {"BeepMode", &ReaderSettings::BeepMode},
    {"InterCharDelay", &ReaderSettings::InterCharDelay},
    {"Handshake", &ReaderSettings::Handshake},
    {"StopBits", &ReaderSettings::StopBits},
    {"BaudRate", &ReaderSettings::BaudRate},
    {"DataBits", &ReaderSettings::DataBits},
    {"Parity", &ReaderSettings::Parity},
    {"XOnChar", &ReaderSettings::XOnChar},
    {"XOffChar", &ReaderSettings::XOffChar},
    {"TrackSelect", &ReaderSettings::TrackSelect},
    {"TrackSeparator", &ReaderSettings::TrackSeparator},
    {"DataFormat", &ReaderSettings::DataFormat},
    {"UicOptions", &ReaderSettings::UicOptions},
    {"Terminator", &ReaderSettings::Terminator},
    {"SendOptions", &ReaderSettings::SendOptions},
    {"MsrReading", &ReaderSettings::MsrReading},
    {"DecodingMethod", &ReaderSettings::DecodingMethod},
    {"SendLrc", &ReaderSettings::SendLrc},
    {"HidFormat", &ReaderSettings::HidFormat},
    {"Track1StartSentinel7", &ReaderSettings::Track1StartSentinel7},
    {"Track1StartSentinel6", &ReaderSettings::Track1StartSentinel6},
    {"Track1StartSentinel5", &ReaderSettings::Track1StartSentinel5},
    {"Track2StartSentinel7", &ReaderSettings::Track2StartSentinel7},
    {"Track2StartSentinel5", &ReaderSettings::Track2StartSentinel5},
    {"Track3StartSentinel7", &ReaderSettings::Track3StartSentinel7},
    {"Track3StartSentinel6", &ReaderSettings::Track3StartSentinel6},
    {"Track3StartSentinel5", &ReaderSettings::Track3StartSentinel5},
    {"KbPollInterval", &ReaderSettings::KbPollInterval},
    {"KbPollIntervalRead", &ReaderSettings::KbPollIntervalRead, false},
    {"KeyboardLanguage", &ReaderSettings::KeyboardLanguage},
    {"Option25", &ReaderSettings::Option25},
    {"Track1EndSentinel", &ReaderSettings::Track1EndSentinel},
    {"Track2EndSentinel", &ReaderSettings::Track2EndSentinel},
    {"Track3EndSentinel", &ReaderSettings::Track3EndSentinel},
    {"PrePan", &ReaderSettings::PrePan},
    {"PostPan", &ReaderSettings::PostPan},
    {"MaskChar", &ReaderSettings::MaskChar},
    {"Encryption", &ReaderSettings::Encryption},
    {"SecurityLevel", &ReaderSettings::SecurityLevel},
    {"HidFormatBeforeLoad", &ReaderSettings::HidFormatBeforeLoad, false},
    {"mode", &ReaderSettings::mode},
};

constexpr StringSetting kStringSettings[] = {
    {"Preamble", &ReaderSettings::Preamble, 15},
    {"Postamble", &ReaderSettings::Postamble, 15},
    {"Track1Prefix", &ReaderSettings::Track1Prefix, 6},
    {"Track2Prefix", &ReaderSettings::Track2Prefix, 6},
    {"Track3Prefix", &ReaderSettings::Track3Prefix, 6},
    {"Track1Suffix", &ReaderSettings::Track1Suffix, 6},
    {"Track2Suffix", &ReaderSettings::Track2Suffix, 6},
    {"Track3Suffix", &ReaderSettings::Track3Suffix, 6},
};

}  // namespace

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

}  // namespace ravelfin::cli
