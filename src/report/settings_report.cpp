#include "report/settings_report.h"

#include <algorithm>
#include <cstddef>

#include "dataedit/formula.h"
#include "protocol/char_names.h"
#include "protocol/interface_type.h"
#include "protocol/setting_names.h"

namespace ravelfin {
namespace {

constexpr double kBeepModeVersion = 4.3;
constexpr double kSixBitSentinelsBelow = 3.32;
constexpr double kCustom2Above = 3.32;
constexpr double kSecurityAbove = 4.25;
constexpr std::uint32_t kFormulaClass = 10000;
constexpr std::uint32_t kSecurityClass = 30000;

class ReportWriter {
  public:
    void Append(const std::string& text) { text_ += text; }
    void Line(const std::string& label, const std::string& value) {
        text_ += label + value + "\r\n";
    }
    std::string Take() { return std::move(text_); }

  private:
    std::string text_;
};

std::string Char(std::uint8_t code) {
    return ByteToDisplayText(code);
}

std::string Choice(bool set, const char* whenSet, const char* whenClear) {
    return set ? whenSet : whenClear;
}

void AppendBeep(ReportWriter& out, const ReaderSettings& r) {
    if (r.FirmwareVersionNumber != kBeepModeVersion) {
        out.Line("Beep Volume: ", BeepVolumeName(r.BeepVolume));
        return;
    }
    const std::string name = BeepModeName(r.BeepMode);
    if (!name.empty()) {
        out.Append("Beep Volume: " + name + "\n");
    }
}

void AppendSendOutFormat(ReportWriter& out, const ReaderSettings& r) {
    out.Append("Send Out Format: \r\n");
    const std::uint8_t bits = r.SendOptions;
    out.Line("\t", Choice(bits & 0x01, "Send Start/End Sentinel", "NOT Send Start/End Sentinel"));
    out.Line("\t", Choice(bits & 0x02, "Only Send Account Number For Track2",
                          "Send All Data For Track2"));
    out.Line("\t", Choice(bits & 0x04, "Send Error Indication", "Not Send Error Indication"));
    out.Line("\t", SendLrcName(r.SendLrc));
}

void AppendSentinels(ReportWriter& out, const ReaderSettings& r) {
    const bool sixBit = r.FirmwareVersionNumber < kSixBitSentinelsBelow;
    out.Line("Track 1 7 bit encoding Start Sentinel: ", Char(r.Track1StartSentinel7));
    if (sixBit) {
        out.Line("Track 1 6 bit encoding Start Sentinel: ", Char(r.Track1StartSentinel6));
    }
    out.Line("Track 1 5 bit encoding Start Sentinel: ", Char(r.Track1StartSentinel5));
    out.Line("Track 1 End Sentinel: ", Char(r.Track1EndSentinel));
    out.Line("Track 2 7 bit encoding Start Sentinel: ", Char(r.Track2StartSentinel7));
    out.Line("Track 2 5 bit encoding Start Sentinel: ", Char(r.Track2StartSentinel5));
    out.Line("Track 2 End Sentinel: ", Char(r.Track2EndSentinel));
    out.Line("Track 3 7 bit encoding Start Sentinel: ", Char(r.Track3StartSentinel7));
    if (sixBit) {
        out.Line("Track 3 6 bit encoding Start Sentinel: ", Char(r.Track3StartSentinel6));
    }
    out.Line("Track 3 5 bit encoding Start Sentinel: ", Char(r.Track3StartSentinel5));
    out.Line("Track 3 End Sentinel: ", Char(r.Track3EndSentinel));
}

void AppendDataEdit(ReportWriter& out, const ReaderSettings& r) {
    const char* names[kFormulaSlots] = {"CreditCard",
                                        r.FirmwareVersionNumber > kCustom2Above ? "Custom2" : "CDL",
                                        "AAMVA", "Custom1"};
    out.Append("\r\n");
    for (std::size_t slot = 0; slot < kFormulaSlots; ++slot) {
        out.Line(std::string("Data Edit-") + names[slot] + ":",
                 FormatFormulaText(r.formulas[slot], static_cast<int>(slot)));
    }
}

std::string SerialNumberText(const ReaderSettings& r) {
    const auto& serial = r.SerialNumber;
    std::string text = "Serial number:";
    if (serial[1] == 0xFF || serial[1] < 0x20) {
        return text;
    }
    const std::size_t count = std::min<std::size_t>(serial[0], serial.size() - 1);
    for (std::size_t i = 1; i <= count && serial[i] != 0; ++i) {
        text += static_cast<char>(serial[i]);
    }
    return text;
}

void AppendSecurity(ReportWriter& out, const ReaderSettings& r) {
    const std::string encryption = EncryptionName(r.Encryption);
    out.Append("\r\n");
    out.Line("PrePAN:", std::to_string(r.PrePan));
    out.Line("PostPAN:", std::to_string(r.PostPan));
    out.Line("Mask Char:", std::string("'") + static_cast<char>(r.MaskChar) + "'");
    out.Line(encryption.empty() ? "" : "Encryption: ", encryption);
    out.Line("Security Level:", std::string(1, static_cast<char>(r.SecurityLevel)));
    out.Line(SerialNumberText(r), "");
}

}  // namespace

std::string BuildSettingsReport(const ReaderSettings& r, const std::string& firmwareText) {
    const double version = r.FirmwareVersionNumber;
    const std::uint32_t type = r.InterfaceType;
    ReportWriter out;

    out.Append("=============Check Current Ravelfin Settings===============\r\n");
    out.Line("Software version: ", "Orvane Ravelfin Configuration Utility Version 2.9");
    if (type == kInterfacePs2) {
        out.Line("Terminal Type: ", TerminalTypeName(r.TerminalType));
    }
    AppendBeep(out, r);
    if (type == kInterfacePs2) {
        out.Line("Inter Character Delay: ", InterCharDelayName(r.InterCharDelay));
    }
    if (type == kInterfaceRs232) {
        out.Line("HandShake: ", HandshakeName(r.Handshake));
        out.Line("Stop Bit: ", StopBitsName(r.StopBits));
        out.Line("Baud Rate: ", BaudRateName(r.BaudRate));
        out.Line("Data Bit: ", DataBitsName(r.DataBits));
        out.Line("Parity: ", ParityName(r.Parity));
        out.Line("XOn Character: ", Char(r.XOnChar));
        out.Line("XOff Character: ", Char(r.XOffChar));
    }
    out.Line("Track Select: ", TrackSelectName(r.TrackSelect));
    out.Line("Track Separator: ", Char(r.TrackSeparator));
    out.Line("Data Format: ", DataFormatName(r.DataFormat));
    out.Line("USB HID Format: ", HidFormatName(r.HidFormat));
    out.Line("UIC LRC Option: ", Choice(r.UicOptions & 0x01, "Do Not Send LRC", "Send  LRC"));
    out.Line("Terminator: ", Char(r.Terminator));
    AppendSendOutFormat(out, r);
    out.Line("Enable/Disable MSR: ", MsrReadingName(r.MsrReading));
    out.Line("Format & Direction: ", DecodingMethodName(r.DecodingMethod));
    AppendSentinels(out, r);

    // Readers at the two highest security levels hide their prefixes and suffixes.
    if (r.SecurityLevel != '3' && r.SecurityLevel != '4') {
        out.Line("Track 1 Prefix: ", BytesToDisplayText(r.Track1Prefix));
        out.Line("Track 2 Prefix: ", BytesToDisplayText(r.Track2Prefix));
        out.Line("Track 3 Prefix: ", BytesToDisplayText(r.Track3Prefix));
        out.Line("Track 1 Suffix: ", BytesToDisplayText(r.Track1Suffix));
        out.Line("Track 2 Suffix: ", BytesToDisplayText(r.Track2Suffix));
        out.Line("Track 3 Suffix: ", BytesToDisplayText(r.Track3Suffix));
    }
    out.Append("Preamble:" + BytesToDisplayText(r.Preamble));
    out.Append("\r\nPostamble:" + BytesToDisplayText(r.Postamble));

    const bool aboveSecurityVersion = version > kSecurityAbove;
    if (!aboveSecurityVersion || r.ModelClass == kFormulaClass) {
        AppendDataEdit(out, r);
    } else if (r.ModelClass == kSecurityClass) {
        AppendSecurity(out, r);
    }
    if (type == kInterfaceUsbHidKb) {
        out.Append("\r\n");
        out.Line("USB HID KB Polling Interval: ", std::to_string(r.KbPollInterval));
    }
    out.Append("\r\nINTERFACE_TYPE: " + InterfaceTypeName(type) + "\r\n");
    out.Line("Firmware Version: ", firmwareText);
    return out.Take();
}

}  // namespace ravelfin
