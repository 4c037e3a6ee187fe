#include "protocol/settings_encoder.h"

#include "protocol/command_frame.h"

namespace ravelfin {
namespace {

constexpr std::size_t kMaxStringLength = 254;  // its Len byte is the length plus one
constexpr std::size_t kMaxBlockLength = 255;

/// Appends to a frame without ever writing past it; any failure sticks.
class FrameWriter {
public:
    explicit FrameWriter(std::span<std::uint8_t> frame) : frame_(frame) {
        Put(kStx);
        Put(kSetLetter);
    }

    void Put(std::uint8_t byte) {
        if (ok_ && pos_ < frame_.size()) {
            frame_[pos_++] = byte;
        } else {
            ok_ = false;
        }
    }
    void Put(const Bytes& bytes) {
        for (std::uint8_t b : bytes) Put(b);
    }
    void Item(std::uint8_t funcId, std::uint8_t value) {
        Put(funcId);
        Put(1);
        Put(value);
    }
    void String(std::uint8_t funcId, const Bytes& text) {
        if (text.size() > kMaxStringLength) ok_ = false;
        Put(funcId);
        Put(static_cast<std::uint8_t>(text.size() + 1));
        Put(static_cast<std::uint8_t>(text.size()));
        Put(text);
    }
    /// Writes FuncID and a Len placeholder; returns where the block's content starts.
    std::size_t BeginBlock(std::uint8_t funcId) {
        Put(funcId);
        Put(0);
        return pos_;
    }
    void EndBlock(std::size_t start) {
        const std::size_t size = pos_ - start;
        if (size > kMaxBlockLength) ok_ = false;
        if (ok_) frame_[start - 1] = static_cast<std::uint8_t>(size);
    }
    void Fail() { ok_ = false; }

    bool Finish(std::size_t& length) {
        Put(kEtx);
        if (ok_) Put(ComputeLrc(frame_.first(pos_)));
        length = ok_ ? pos_ : 0;
        return ok_;
    }

private:
    std::span<std::uint8_t> frame_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

bool CarriesSecurity(const ReaderSettings& r) { return r.FirmwareVersionNumber > 4.25; }

void WriteGeneralPartA(FrameWriter& w, const ReaderSettings& r) {
    w.Item(0x10, r.TerminalType);
    // Firmware 4.3 exactly replaced the beep volume with a beep mode.
    if (r.FirmwareVersionNumber == 4.3) {
        w.Item(0xAE, r.BeepMode);
    } else {
        w.Item(0x11, r.BeepVolume);
    }
    w.Item(0x12, r.InterCharDelay);
    w.Item('D', r.Handshake);
    w.Item('E', r.StopBits);
    w.Item('A', r.BaudRate);
    w.Item('B', r.DataBits);
    w.Item('C', r.Parity);
    w.Item('G', r.XOnChar);
    w.Item('H', r.XOffChar);
    w.Item(0x13, r.TrackSelect);
    w.Item(0x17, r.TrackSeparator);
    w.Item(0x15, r.DataFormat);
    w.Item(0x16, r.UicOptions);
    w.Item('!', r.Terminator);
    w.Item(0x1B, r.mode);
    w.Item(0x19, r.SendOptions);
    w.Item(0x1A, r.MsrReading);
    w.Item(0x1D, r.DecodingMethod);
    w.Item(0x60, r.SendLrc);
    w.Item('#', r.HidFormat);
    w.Item('a', r.Track1StartSentinel7);
    w.Item('b', r.Track1StartSentinel6);
    w.Item('c', r.Track1StartSentinel5);
    w.Item('d', r.Track2StartSentinel7);
    w.Item('e', r.Track2StartSentinel5);
    w.Item('f', r.Track3StartSentinel7);
    w.Item('g', r.Track3StartSentinel6);
    w.Item('h', r.Track3StartSentinel5);
    w.String(0xD2, r.Preamble);
    w.String(0xD3, r.Postamble);
}

void WriteGeneralPartB(FrameWriter& w, const ReaderSettings& r) {
    w.Item('i', r.Track1EndSentinel);
    w.Item('j', r.Track2EndSentinel);
    w.Item('k', r.Track3EndSentinel);
    w.Item(0x14, r.KbPollInterval);
    w.Item('$', r.KeyboardLanguage);
    w.Item('%', r.Option25);
    w.String('4', r.Track1Prefix);
    w.String('5', r.Track2Prefix);
    w.String('6', r.Track3Prefix);
    w.String('7', r.Track1Suffix);
    w.String('8', r.Track2Suffix);
    w.String('9', r.Track3Suffix);
}

void WriteSecurity(FrameWriter& w, const ReaderSettings& r, bool withLevel) {
    if (!CarriesSecurity(r)) return;
    w.Item('I', r.PrePan);
    w.Item('J', r.PostPan);
    w.Item('K', r.MaskChar);
    if (r.SecurityLevel != '4' && r.Encryption != '0') w.Item('L', r.Encryption);
    if (withLevel) w.Item('~', r.SecurityLevel);
}

void WriteCustomCard(FrameWriter& w, std::uint8_t funcId, const CustomCardDefinition& card) {
    const std::size_t start = w.BeginBlock(funcId);
    for (const Bytes& b : card.lengthLimits) w.Put(b);
    for (const Bytes& b : card.matchStrings) w.Put(b);
    for (const Bytes& b : card.fields) w.Put(b);
    w.EndBlock(start);
}

void WriteDataEdit(FrameWriter& w, const ReaderSettings& r) {
    std::size_t start = w.BeginBlock(0xFA);
    for (const Bytes& field : r.addedFields) {
        if (field.size() > kMaxAddedFieldLength) w.Fail();
        w.Put(static_cast<std::uint8_t>(field.size()));
        w.Put(field);
        for (std::size_t i = field.size(); i < kMaxAddedFieldLength; ++i) w.Put(0);
    }
    w.EndBlock(start);

    WriteCustomCard(w, 0xFB, r.custom);

    start = w.BeginBlock(0xFC);
    for (std::size_t slot = 0; slot < kFormulaSlots; ++slot) {
        const Bytes& formula = r.formulas[slot];
        if (formula.empty()) {
            w.Put(0x00);
        } else {
            if (formula.size() > kMaxStringLength) w.Fail();
            w.Put(static_cast<std::uint8_t>(formula.size() + 1));
            // From 3.32 on slot 1 holds Custom2 and carries its own code.
            const bool custom2Code = slot == kSlotDmvOrCustom2 && r.FirmwareVersionNumber >= 3.32;
            w.Put(static_cast<std::uint8_t>(custom2Code ? 0xE4 : 0xE0 + slot));
            w.Put(formula);
        }
        w.Put(0xFF);
    }
    w.EndBlock(start);

    if (r.FirmwareVersionNumber > 3.32) WriteCustomCard(w, 0xFD, r.custom2);
}

template <typename Body>
bool Encode(std::span<std::uint8_t> frame, std::size_t& length, Body body) {
    length = 0;
    if (frame.size() < kMinEncoderCapacity) return false;
    FrameWriter writer(frame);
    body(writer);
    return writer.Finish(length);
}

}  // namespace

bool EncodeGeneralSettings(const ReaderSettings& record, std::span<std::uint8_t> frame,
                           std::size_t& length) {
    return Encode(frame, length, [&](FrameWriter& w) {
        WriteGeneralPartA(w, record);
        WriteGeneralPartB(w, record);
        WriteSecurity(w, record, false);
    });
}

bool EncodeCloneSettings(const ReaderSettings& record, std::span<std::uint8_t> frame,
                         std::size_t& length) {
    return Encode(frame, length, [&](FrameWriter& w) {
        WriteGeneralPartA(w, record);
        WriteGeneralPartB(w, record);
    });
}

bool EncodeDataEditFrame(const ReaderSettings& record, std::span<std::uint8_t> frame,
                         std::size_t& length) {
    return Encode(frame, length, [&](FrameWriter& w) { WriteDataEdit(w, record); });
}

bool EncodeAllSettings(const ReaderSettings& record, std::span<std::uint8_t> frame,
                       std::size_t& length) {
    return Encode(frame, length, [&](FrameWriter& w) {
        WriteGeneralPartA(w, record);
        WriteDataEdit(w, record);
        WriteGeneralPartB(w, record);
        WriteSecurity(w, record, true);
    });
}

}  // namespace ravelfin
