#pragma once

#include <vector>

#include "protocol/command_frame.h"
#include "protocol/reader_settings.h"
#include "protocol/settings_encoder.h"

namespace ravelfin {

using ByteList = std::vector<std::uint8_t>;

/// Appends the LRC of the bytes from `from` (the STX) through the end.
inline ByteList WithLrc(ByteList bytes, std::size_t from = 0) {
    bytes.push_back(ComputeLrc(std::span(bytes).subspan(from)));
    return bytes;
}

/// STX 'S', the parts, ETX and LRC.
inline ByteList Frame(std::initializer_list<ByteList> parts) {
    ByteList frame = {kStx, 'S'};
    for (const ByteList& part : parts)
        frame.insert(frame.end(), part.begin(), part.end());
    frame.push_back(kEtx);
    return WithLrc(frame);
}

/// The frame `encode` makes of the record; empty when the record cannot be framed.
inline ByteList Encoded(bool (*encode)(const ReaderSettings&, std::span<std::uint8_t>,
                                       std::size_t&),
                        const ReaderSettings& r) {
    ByteList frame(1024);
    std::size_t length = 0;
    frame.resize(encode(r, frame, length) ? length : 0);
    return frame;
}

/// Every one-byte setting that a settings frame carries.
inline std::vector<std::uint8_t*> OneByteFields(ReaderSettings& r) {
    // clang-format off
    return {&r.TerminalType, &r.BeepVolume, &r.BeepMode, &r.InterCharDelay, &r.Handshake,
            &r.StopBits, &r.BaudRate, &r.DataBits, &r.Parity, &r.XOnChar, &r.XOffChar,
            &r.TrackSelect, &r.TrackSeparator, &r.DataFormat, &r.UicOptions, &r.Terminator,
            &r.SendOptions, &r.MsrReading, &r.DecodingMethod, &r.SendLrc, &r.HidFormat,
            &r.Track1StartSentinel7, &r.Track1StartSentinel6, &r.Track1StartSentinel5,
            &r.Track2StartSentinel7, &r.Track2StartSentinel5, &r.Track3StartSentinel7,
            &r.Track3StartSentinel6, &r.Track3StartSentinel5, &r.KeyboardLanguage, &r.Option25,
            &r.Track1EndSentinel, &r.Track2EndSentinel, &r.Track3EndSentinel, &r.PrePan,
            &r.PostPan, &r.MaskChar, &r.mode};
    // clang-format on
}

/// A record in which every carried setting differs from its default and from every other
/// setting, with data-editing content in every member.
inline ReaderSettings VariedRecord(double version) {
    ReaderSettings r(kInterfaceUsbHidKb);
    r.FirmwareVersionNumber = version;
    r.ModelClass = 10000;
    std::uint8_t value = 0x80;
    for (std::uint8_t* field : OneByteFields(r))
        *field = value++;
    r.KbPollInterval = r.KbPollIntervalRead = 9;
    r.SecurityLevel = '3', r.Encryption = '2';
    r.Preamble = {0x00, 'P', 0xFF}, r.Postamble = {'p', 'o', 's', 't'}, r.Track1Prefix = {'1'};
    r.Track2Prefix = {'2', '2'}, r.Track3Prefix = {0x03, 0x00, 0x03}, r.Track1Suffix = {'s'};
    r.Track2Suffix = {0x0D, 0x0A}, r.Track3Suffix = ByteList(40, 'z');
    r.addedFields = {{'A', 'B'}, {'1', '2', '3', '4', '5', '6', '7', '8'}, {0x00}};
    r.custom.lengthLimits[1] = {0xF0, 0x40, 5, 20};
    r.custom.matchStrings[2] = {0xF1, 0x60, 0, 2, 'X', 'Y'};
    r.custom.fields = {{0xF2, 0x20, 2, 2, 'I', 'D'},
                       {0xF3, 0x41, 1, 1, 'a', 2, 2, 'b', 'c'},
                       {0xF4, 0x62, 1, 3, 4, 1, '='},
                       {0xF5, 0x23, 1, 1, '^', 1, 1, '/', 0, 5}};
    r.custom2.lengthLimits[0] = {0xF0, 0x20, 1, 2};
    r.custom2.fields = {{0xF2, 0x60, 1, 1, '%'}};
    r.formulas = {{{0x20, 0x24, 0x40}, {0x61, 0x62}, {}, {0x00, 0x21}}};
    return r;
}

}  // namespace ravelfin
