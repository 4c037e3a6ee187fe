#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ravelfin {

/// One value of a one-byte setting and the name the report prints for it.
struct ValueName {
    std::uint8_t value;
    const char* name;
};

using ValueNameTable = std::span<const ValueName>;

/// The name of `value` in `table`, or "" when the table has no row for it.
std::string LookupValueName(ValueNameTable table, std::uint8_t value);

// The rows of each setting, in the order its values are listed; the editors may fill
// their choices from them. Values are the stored bytes (ASCII digits unless noted).
ValueNameTable TerminalTypeNames();  // '4' (NoteBook) has no printed name
ValueNameTable BeepVolumeNames();
ValueNameTable BeepModeNames();  // numeric 0, 2, 4, 6
ValueNameTable InterCharDelayNames();
ValueNameTable HandshakeNames();
ValueNameTable StopBitsNames();
ValueNameTable BaudRateNames();
ValueNameTable DataBitsNames();
ValueNameTable ParityNames();
ValueNameTable TrackSelectNames();
ValueNameTable DataFormatNames();
ValueNameTable MsrReadingNames();
ValueNameTable DecodingMethodNames();
ValueNameTable SendLrcNames();
ValueNameTable HidFormatNames();  // '0', '1', '8'
ValueNameTable KeyboardLanguageNames();
ValueNameTable EncryptionNames();

// Lookups; each returns "" for a value without a name.
std::string TerminalTypeName(std::uint8_t value);
std::string BeepVolumeName(std::uint8_t value);
std::string BeepModeName(std::uint8_t value);
std::string InterCharDelayName(std::uint8_t value);
std::string HandshakeName(std::uint8_t value);
std::string StopBitsName(std::uint8_t value);
std::string BaudRateName(std::uint8_t value);
std::string DataBitsName(std::uint8_t value);
std::string ParityName(std::uint8_t value);
std::string TrackSelectName(std::uint8_t value);
std::string DataFormatName(std::uint8_t value);
std::string MsrReadingName(std::uint8_t value);
std::string DecodingMethodName(std::uint8_t value);
std::string SendLrcName(std::uint8_t value);
/// '2' shares the name of '8'.
std::string HidFormatName(std::uint8_t value);
std::string KeyboardLanguageName(std::uint8_t value);
std::string EncryptionName(std::uint8_t value);

}  // namespace ravelfin
