#include "protocol/reader_settings.h"

namespace ravelfin {

ReaderSettings::ReaderSettings(std::uint32_t interfaceType) : InterfaceType(interfaceType) {
    // Settings without a factory default start at values a reader accepts, so that a record
    // that was never read (a new configuration file) still holds a sendable configuration.
    Handshake = '0';
    StopBits = '0';
    BaudRate = '5';
    DataBits = '0';
    Parity = '0';
    XOnChar = 0x11;
    XOffChar = 0x13;
    HidFormat = '0';
    Encryption = '0';
    SecurityLevel = '0';
    ResetAllDefaults();
    HidFormatBeforeLoad = HidFormat;
    ReconnectPending = 0;
}

void ReaderSettings::ResetGeneralDefaults() {
    MsrReading = '1';
    TerminalType = '0';
    DecodingMethod = '1';
    BeepVolume = '2';
    BeepMode = 2;
    InterCharDelay = '0';
}

void ReaderSettings::ResetSentinelDefaults() {
    Track1StartSentinel7 = '%';
    Track1StartSentinel6 = '%';
    Track1StartSentinel5 = ';';
    Track2StartSentinel7 = '%';
    Track2StartSentinel5 = ';';
    Track3StartSentinel7 = '%';
    Track3StartSentinel6 = '!';
    Track3StartSentinel5 = ';';
    Track1EndSentinel = '?';
    Track2EndSentinel = '?';
    Track3EndSentinel = '?';
    for (Bytes* s : {&Track1Prefix, &Track2Prefix, &Track3Prefix, &Track1Suffix, &Track2Suffix,
                     &Track3Suffix, &Preamble, &Postamble}) {
        s->clear();
    }
}

void ReaderSettings::ResetSecurityDefaults() {
    PrePan = 4;
    PostPan = 4;
    MaskChar = '*';
    if (SecurityLevel == '1' || SecurityLevel == '2') {
        Encryption = '0';
    } else if (SecurityLevel == '3' || SecurityLevel == '4') {
        Encryption = '1';
    }
}

void ReaderSettings::ResetTrackDefaults() {
    Terminator = 0x0D;
    TrackSelect = '0';
    TrackSeparator = 0x0D;
    SendOptions = '1';
    SendLrc = '0';
}

void ReaderSettings::ResetOutputFormatDefaults() {
    DataFormat = '0';
    UicOptions = 'Y';
}

void ReaderSettings::ResetKeyboardDefaults() {
    SendOptions &= static_cast<std::uint8_t>(~0x08);
    KeyboardLanguage = '0';
    KbPollInterval = 1;
}

void ReaderSettings::ResetAllDefaults() {
    ResetGeneralDefaults();
    ResetSentinelDefaults();
    ResetSecurityDefaults();
    ResetTrackDefaults();
    ResetOutputFormatDefaults();
    ResetKeyboardDefaults();
    ResetDataEditSettings();
    Option25 = '@';
}

}  // namespace ravelfin
