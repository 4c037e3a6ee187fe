#include "protocol/settings_parser.h"

#include <algorithm>
#include <optional>

#include "protocol/command_frame.h"

namespace ravelfin {
namespace {

using Source = std::span<const std::uint8_t>;
/// Where the walk goes on, or nothing when the item runs past the source or its block.
using Next = std::optional<std::size_t>;

/// The field of a plain one-byte setting (FuncID, Len, value; Len not examined).
std::uint8_t ReaderSettings::*OneByteField(std::uint8_t funcId) {
    switch (funcId) {
        case 0x10: return &ReaderSettings::TerminalType;
        case 0x11: return &ReaderSettings::BeepVolume;
        case 0x12: return &ReaderSettings::InterCharDelay;
        case 0x13: return &ReaderSettings::TrackSelect;
        case 0x15: return &ReaderSettings::DataFormat;
        case 0x16: return &ReaderSettings::UicOptions;
        case 0x17: return &ReaderSettings::TrackSeparator;
        case 0x19: return &ReaderSettings::SendOptions;
        case 0x1A: return &ReaderSettings::MsrReading;
        case 0x1B: return &ReaderSettings::mode;
        case 0x1D: return &ReaderSettings::DecodingMethod;
        case 0x21: return &ReaderSettings::Terminator;
        case 0x23: return &ReaderSettings::HidFormat;
        case 0x24: return &ReaderSettings::KeyboardLanguage;
        case 0x25: return &ReaderSettings::Option25;
        case 0x41: return &ReaderSettings::BaudRate;
        case 0x42: return &ReaderSettings::DataBits;
        case 0x43: return &ReaderSettings::Parity;
        case 0x44: return &ReaderSettings::Handshake;
        case 0x45: return &ReaderSettings::StopBits;
        case 0x47: return &ReaderSettings::XOnChar;
        case 0x48: return &ReaderSettings::XOffChar;
        case 0x60: return &ReaderSettings::SendLrc;
        case 0x61: return &ReaderSettings::Track1StartSentinel7;
        case 0x62: return &ReaderSettings::Track1StartSentinel6;
        case 0x63: return &ReaderSettings::Track1StartSentinel5;
        case 0x64: return &ReaderSettings::Track2StartSentinel7;
        case 0x65: return &ReaderSettings::Track2StartSentinel5;
        case 0x66: return &ReaderSettings::Track3StartSentinel7;
        case 0x67: return &ReaderSettings::Track3StartSentinel6;
        case 0x68: return &ReaderSettings::Track3StartSentinel5;
        case 0x69: return &ReaderSettings::Track1EndSentinel;
        case 0x6A: return &ReaderSettings::Track2EndSentinel;
        case 0x6B: return &ReaderSettings::Track3EndSentinel;
        case 0xAE: return &ReaderSettings::BeepMode;
        default: return nullptr;
    }
}

/// One-byte settings that are stored only when their Len is 1.
std::uint8_t ReaderSettings::*CheckedOneByteField(std::uint8_t funcId) {
    switch (funcId) {
        case 0x49: return &ReaderSettings::PrePan;
        case 0x4A: return &ReaderSettings::PostPan;
        case 0x4B: return &ReaderSettings::MaskChar;
        case 0x4C: return &ReaderSettings::Encryption;
        case 0x7E: return &ReaderSettings::SecurityLevel;
        default: return nullptr;
    }
}

Bytes* StringField(std::uint8_t funcId, ReaderSettings& record) {
    switch (funcId) {
        case 0x34: return &record.Track1Prefix;
        case 0x35: return &record.Track2Prefix;
        case 0x36: return &record.Track3Prefix;
        case 0x37: return &record.Track1Suffix;
        case 0x38: return &record.Track2Suffix;
        case 0x39: return &record.Track3Suffix;
        case 0xD2: return &record.Preamble;
        case 0xD3: return &record.Postamble;
        default: return nullptr;
    }
}

Bytes Slice(Source source, std::size_t from, std::size_t count) {
    return Bytes(source.begin() + from, source.begin() + from + count);
}

/// Entries of 9 bytes: a length k, then k bytes padded to 8.
Next ParseAddedFields(Source source, std::size_t q, std::size_t len, ReaderSettings& record) {
    record.addedFields.clear();
    const std::size_t count = len / 9;
    if (q + 9 * count > source.size()) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i, q += 9) {
        // An entry longer than its 8 bytes of room has no place in the record.
        const std::size_t k = source[q];
        if (k > 0 && k <= kMaxAddedFieldLength) {
            record.addedFields.push_back(Slice(source, q + 1, k));
        }
    }
    return q;
}

/// Size of the custom card item at q; 0 for a tag that ends the block. A size byte past the
/// source reads as a size larger than the whole source, so the caller rejects the item.
std::size_t CustomItemSize(Source source, std::size_t q) {
    const auto at = [&](std::size_t i) -> std::size_t {
        return i < source.size() ? source[i] : source.size() + 1;
    };
    switch (source[q]) {
        case kLengthLimitRecord: return 4;
        case kMatchStringRecord:
        case kBeforeField: return at(q + 3) + 4;
        case kBetweenField: return at(q + 3) + at(q + 5 + at(q + 3)) + 6;
        case kAfterField: return at(q + 5) + 6;
        case kAmongField: return at(q + 3) + at(q + 5 + at(q + 3)) + 8;
        default: return 0;
    }
}

Next ParseCustomBlock(Source source, std::size_t q, std::size_t remaining,
                      CustomCardDefinition& card) {
    card.fields.clear();
    while (remaining != 0) {
        if (q >= source.size()) return std::nullopt;
        const std::size_t size = CustomItemSize(source, q);
        if (size == 0) break;
        if (size > remaining || q + size > source.size()) return std::nullopt;
        // Items name tracks 1 to 3; any other track has no place in the record.
        const int track = (source[q + 1] >> 5) - 1;
        if (track >= 0 && track <= 2) {
            Bytes item = Slice(source, q, size);
            if (source[q] == kLengthLimitRecord) {
                card.lengthLimits[track].insert(card.lengthLimits[track].end(), item.begin(),
                                                item.end());
            } else if (source[q] == kMatchStringRecord) {
                card.matchStrings[track].insert(card.matchStrings[track].end(), item.begin(),
                                                item.end());
            } else {
                card.fields.push_back(std::move(item));
            }
        }
        q += size;
        remaining -= size;
    }
    return q;
}

/// Slot entries: 00 FF for an empty slot, else k, slot code, k - 1 bytes, FF.
Next ParseFormulas(Source source, std::size_t q, std::size_t remaining, ReaderSettings& record) {
    while (remaining != 0) {
        if (q + 2 > source.size() || remaining < 2) return std::nullopt;
        const std::size_t k = source[q];
        if (k == 0) {
            q += 2;
            remaining -= 2;
            continue;
        }
        const std::size_t code = (source[q + 1] + 0x20) & 0xFF;
        q += 2;
        if (code > 4) break;
        if (k + 2 > remaining || q + k > source.size()) return std::nullopt;
        // Older firmware names slot 1 with code 1, newer with code 4.
        record.formulas[code == 4 ? 1 : code] = Slice(source, q, k - 1);
        q += k;
        remaining -= k + 2;
    }
    return q;
}

Next ParseItem(Source source, std::size_t p, ReaderSettings& record) {
    const std::uint8_t funcId = source[p];
    if (funcId == kReadLetter || funcId == kSetLetter) return p + 1;
    if (p + 2 > source.size()) return std::nullopt;
    const std::size_t len = source[p + 1];
    const auto fits = [&](std::size_t end) { return end <= source.size() ? Next(end) : Next(); };

    if (auto field = OneByteField(funcId)) {
        if (p + 3 > source.size()) return std::nullopt;
        record.*field = source[p + 2];
        return p + 3;
    }
    if (auto field = CheckedOneByteField(funcId)) {
        if (len != 1) return p + 2;
        if (p + 3 > source.size()) return std::nullopt;
        record.*field = source[p + 2];
        return p + 3;
    }
    if (Bytes* field = StringField(funcId, record)) {
        if (len == 0) return p + 2;
        if (p + 2 + len > source.size()) return std::nullopt;
        // The byte at p + 2 is the string's own count; Len already says how many follow.
        if (len > 1) *field = Slice(source, p + 3, len - 1);
        return p + 2 + len;
    }
    switch (funcId) {
        case 0x14:
            if (p + 3 > source.size()) return std::nullopt;
            record.KbPollInterval = record.KbPollIntervalRead = source[p + 2];
            return p + 3;
        case 0x77: return fits(p + 3);
        case 0x4E:
            if (len < 9 || len > record.SerialNumber.size()) return p + 2;
            if (p + 2 + len > source.size()) return std::nullopt;
            std::copy_n(source.begin() + p + 2, len, record.SerialNumber.begin());
            return p + 2 + len;
        case 0xFA: return ParseAddedFields(source, p + 2, len, record);
        case 0xFB: return ParseCustomBlock(source, p + 2, len, record.custom);
        case 0xFD: return ParseCustomBlock(source, p + 2, len, record.custom2);
        case 0xFC: return ParseFormulas(source, p + 2, len, record);
        default: return fits(p + 2 + len);  // unknown settings are skipped by their Len
    }
}

/// How a walk over a settings frame ended.
enum class WalkEnd { kFailed, kEndOfSource, kEtx };

WalkEnd Walk(Source source, ReaderSettings& record) {
    if (source.empty()) return WalkEnd::kFailed;
    record.ResetAllDefaults();
    record.SecurityLevel = '0';

    const std::size_t stx = (source[0] == kAck || source[0] == 0xFA) ? 1 : 0;
    if (stx >= source.size() || source[stx] != kStx) return WalkEnd::kFailed;
    std::size_t p = stx + 1;
    while (p < source.size()) {
        if (source[p] == kEtx) {
            const bool lrcMatches = p + 1 < source.size() &&
                                    ComputeLrc(source.subspan(stx, p + 1 - stx)) == source[p + 1];
            return lrcMatches ? WalkEnd::kEtx : WalkEnd::kFailed;
        }
        const Next next = ParseItem(source, p, record);
        if (!next) return WalkEnd::kFailed;
        p = *next;
    }
    return WalkEnd::kEndOfSource;
}

}  // namespace

bool ParseSettings(std::span<const std::uint8_t> source, ReaderSettings& record) {
    return Walk(source, record) != WalkEnd::kFailed;
}

bool ParseSettingsAnswer(std::span<const std::uint8_t> source, ReaderSettings& record) {
    return Walk(source, record) == WalkEnd::kEtx;
}

}  // namespace ravelfin
