#pragma once

#include <array>
#include <cstdint>

#include "dataedit/data_edit_settings.h"
#include "protocol/bytes.h"
#include "protocol/interface_type.h"

namespace ravelfin {

/// The in-memory image of one reader's whole configuration.
///
/// One-byte settings hold ASCII digits ('0', '1', ...) unless marked numeric; character
/// settings hold the byte itself. Fields without a factory default start at values a reader
/// accepts and keep what the last read or load stored.
class ReaderSettings : public DataEditSettings {
public:
    explicit ReaderSettings(std::uint32_t interfaceType = kInterfaceUnknown);
    ReaderSettings(const ReaderSettings&) = default;
    ReaderSettings& operator=(const ReaderSettings&) = default;
    ~ReaderSettings() override = default;

    // Default groups; each editor page's "Default Page" button calls one of them.
    void ResetGeneralDefaults();
    void ResetSentinelDefaults();
    void ResetSecurityDefaults();
    void ResetTrackDefaults();
    void ResetOutputFormatDefaults();
    void ResetKeyboardDefaults();
    /// All seven groups in order (general, sentinels, security, track, output format,
    /// keyboard, data edit), then `Option25`.
    void ResetAllDefaults();

    bool operator==(const ReaderSettings&) const = default;

    std::uint32_t ModelClass = 0;         // 0, 10000 (formulas) or 30000 (security)
    double FirmwareVersionNumber = 0.0;   // parsed from the firmware text
    std::uint32_t InterfaceType = 0;      // fixed at construction

    std::uint8_t TerminalType = 0;        // 0x10
    std::uint8_t BeepVolume = 0;          // 0x11
    std::uint8_t BeepMode = 0;            // 0xAE, numeric, firmware 4.3 only
    std::uint8_t InterCharDelay = 0;      // 0x12
    std::uint8_t Handshake = 0;           // 0x44
    std::uint8_t StopBits = 0;            // 0x45
    std::uint8_t BaudRate = 0;            // 0x41
    std::uint8_t DataBits = 0;            // 0x42
    std::uint8_t Parity = 0;              // 0x43
    std::uint8_t XOnChar = 0;             // 0x47
    std::uint8_t XOffChar = 0;            // 0x48
    std::uint8_t TrackSelect = 0;         // 0x13
    std::uint8_t TrackSeparator = 0;      // 0x17
    std::uint8_t DataFormat = 0;          // 0x15
    std::uint8_t UicOptions = 0;          // 0x16, bit set
    std::uint8_t Terminator = 0;          // 0x21
    std::uint8_t SendOptions = 0;         // 0x19, bit set
    std::uint8_t MsrReading = 0;          // 0x1A
    std::uint8_t DecodingMethod = 0;      // 0x1D
    std::uint8_t SendLrc = 0;             // 0x60
    std::uint8_t HidFormat = 0;           // 0x23
    std::uint8_t Track1StartSentinel7 = 0;  // 0x61
    std::uint8_t Track1StartSentinel6 = 0;  // 0x62
    std::uint8_t Track1StartSentinel5 = 0;  // 0x63
    std::uint8_t Track2StartSentinel7 = 0;  // 0x64
    std::uint8_t Track2StartSentinel5 = 0;  // 0x65
    std::uint8_t Track3StartSentinel7 = 0;  // 0x66
    std::uint8_t Track3StartSentinel6 = 0;  // 0x67
    std::uint8_t Track3StartSentinel5 = 0;  // 0x68

    Bytes Preamble;                       // 0xD2
    Bytes Postamble;                      // 0xD3

    std::uint8_t KbPollInterval = 0;      // 0x14, numeric: the value to send
    std::uint8_t KbPollIntervalRead = 0;  // 0x14 as last read
    std::uint8_t KeyboardLanguage = 0;    // 0x24
    std::uint8_t Option25 = 0;            // 0x25, carried unchanged

    Bytes Track1Prefix;                   // 0x34
    Bytes Track2Prefix;                   // 0x35
    Bytes Track3Prefix;                   // 0x36
    Bytes Track1Suffix;                   // 0x37
    Bytes Track2Suffix;                   // 0x38
    Bytes Track3Suffix;                   // 0x39

    std::uint8_t Track1EndSentinel = 0;   // 0x69
    std::uint8_t Track2EndSentinel = 0;   // 0x6A
    std::uint8_t Track3EndSentinel = 0;   // 0x6B
    std::uint8_t PrePan = 0;              // 0x49, numeric
    std::uint8_t PostPan = 0;             // 0x4A, numeric
    std::uint8_t MaskChar = 0;            // 0x4B
    std::uint8_t Encryption = 0;          // 0x4C
    std::uint8_t SecurityLevel = 0;       // 0x7E, '0' to '4'

    /// 0x4E, read only: byte 0 the number of characters n, bytes 1..n the text.
    std::array<std::uint8_t, 11> SerialNumber{};

    /// Non-zero when a change sent or loaded makes the reader re-enumerate.
    std::uint32_t ReconnectPending = 0;
    /// `HidFormat` as it was before the last file load.
    std::uint8_t HidFormatBeforeLoad = 0;
};

}  // namespace ravelfin
