#include "cli/settings_json.h"

#include <QJsonArray>
#include <utility>

namespace ravelfin::cli {

namespace {

using ByteField = std::uint8_t ReaderSettings::*;
using StringField = Bytes ReaderSettings::*;

// Listed in the record's order so that the JSON reads like the record.
const std::pair<const char*, ByteField> kByteFields[] = {
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
    {"KbPollIntervalRead", &ReaderSettings::KbPollIntervalRead},
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
    {"HidFormatBeforeLoad", &ReaderSettings::HidFormatBeforeLoad},
};

const std::pair<const char*, StringField> kStringFields[] = {
    {"Preamble", &ReaderSettings::Preamble},
    {"Postamble", &ReaderSettings::Postamble},
    {"Track1Prefix", &ReaderSettings::Track1Prefix},
    {"Track2Prefix", &ReaderSettings::Track2Prefix},
    {"Track3Prefix", &ReaderSettings::Track3Prefix},
    {"Track1Suffix", &ReaderSettings::Track1Suffix},
    {"Track2Suffix", &ReaderSettings::Track2Suffix},
    {"Track3Suffix", &ReaderSettings::Track3Suffix},
};

template <typename Range>
QJsonArray ByteArray(const Range& bytes) {
    QJsonArray array;
    for (std::uint8_t b : bytes) array.append(static_cast<int>(b));
    return array;
}

template <typename Range>
QJsonArray ArrayOfByteArrays(const Range& strings) {
    QJsonArray array;
    for (const Bytes& s : strings) array.append(ByteArray(s));
    return array;
}

QJsonObject CustomCardToJson(const CustomCardDefinition& card) {
    QJsonObject object;
    object["fields"] = ArrayOfByteArrays(card.fields);
    object["lengthLimits"] = ArrayOfByteArrays(card.lengthLimits);
    object["matchStrings"] = ArrayOfByteArrays(card.matchStrings);
    return object;
}

}  // namespace

QJsonObject SettingsToJson(const ReaderSettings& record) {
    QJsonObject object;
    object["InterfaceType"] = static_cast<qint64>(record.InterfaceType);
    object["ModelClass"] = static_cast<qint64>(record.ModelClass);
    object["FirmwareVersionNumber"] = record.FirmwareVersionNumber;
    object["ReconnectPending"] = static_cast<qint64>(record.ReconnectPending);
    for (const auto& [name, field] : kByteFields) object[name] = static_cast<int>(record.*field);
    for (const auto& [name, field] : kStringFields) object[name] = ByteArray(record.*field);
    object["SerialNumber"] = ByteArray(record.SerialNumber);
    object["mode"] = static_cast<int>(record.mode);
    object["addedFields"] = ArrayOfByteArrays(record.addedFields);
    object["custom"] = CustomCardToJson(record.custom);
    object["custom2"] = CustomCardToJson(record.custom2);
    object["formulas"] = ArrayOfByteArrays(record.formulas);
    return object;
}

}  // namespace ravelfin::cli
