#include "dataedit/custom_card_records.h"

#include <algorithm>

#include "dataedit/field_code.h"

namespace ravelfin {
namespace {

constexpr std::size_t kMaxStringLength = 255;

void AppendString(Bytes& out, const Bytes& text) {
    const std::size_t n = std::min(text.size(), kMaxStringLength);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
}

// Walks a record without ever reading past it; missing bytes read as zero.
class RecordReader {
  public:
    explicit RecordReader(const Bytes& record) : record_(record) {}

    std::uint8_t Byte() {
        const std::uint8_t b = pos_ < record_.size() ? record_[pos_] : 0;
        ++pos_;
        return b;
    }

    Bytes String() {
        const std::size_t n = Byte();
        const std::size_t start = std::min(pos_, record_.size());
        const std::size_t end = std::min(pos_ + n, record_.size());
        pos_ += n;
        return Bytes(record_.begin() + static_cast<std::ptrdiff_t>(start),
                     record_.begin() + static_cast<std::ptrdiff_t>(end));
    }

  private:
    const Bytes& record_;
    std::size_t pos_ = 0;
};

std::uint8_t TrackByte(int track) {
    return MakeFieldCode(track, 0);
}

}  // namespace

Bytes EncodeCustomField(const CustomFieldDef& def) {
    Bytes out{static_cast<std::uint8_t>(def.kind), def.code, def.times1};
    switch (def.kind) {
        case CustomFieldKind::kBefore:
            AppendString(out, def.string1);
            break;
        case CustomFieldKind::kBetween:
            AppendString(out, def.string1);
            out.push_back(def.times2);
            AppendString(out, def.string2);
            break;
        case CustomFieldKind::kAfter:
            out.push_back(def.offset);
            out.push_back(def.length);
            AppendString(out, def.string1);
            break;
        case CustomFieldKind::kAmong:
            AppendString(out, def.string1);
            out.push_back(def.times2);
            AppendString(out, def.string2);
            out.push_back(def.offset);
            out.push_back(def.length);
            break;
    }
    return out;
}

std::optional<CustomFieldDef> DecodeCustomField(const Bytes& record) {
    if (record.empty() || record[0] < kBeforeField || record[0] > kAmongField) {
        return std::nullopt;
    }
    RecordReader in(record);
    CustomFieldDef def;
    def.kind = static_cast<CustomFieldKind>(in.Byte());
    def.code = in.Byte();
    def.times1 = in.Byte();
    switch (def.kind) {
        case CustomFieldKind::kBefore:
            def.string1 = in.String();
            break;
        case CustomFieldKind::kBetween:
            def.string1 = in.String();
            def.times2 = in.Byte();
            def.string2 = in.String();
            break;
        case CustomFieldKind::kAfter:
            def.offset = in.Byte();
            def.length = in.Byte();
            def.string1 = in.String();
            break;
        case CustomFieldKind::kAmong:
            def.string1 = in.String();
            def.times2 = in.Byte();
            def.string2 = in.String();
            def.offset = in.Byte();
            def.length = in.Byte();
            break;
    }
    return def;
}

Bytes MakeLengthLimitRecord(int track, std::uint8_t min, std::uint8_t max) {
    return {kLengthLimitRecord, TrackByte(track), min, max};
}

Bytes MakeMatchStringRecord(int track, std::uint8_t offset, const Bytes& text) {
    Bytes out{kMatchStringRecord, TrackByte(track), offset};
    AppendString(out, text);
    return out;
}

std::optional<LengthLimit> ReadLengthLimit(const Bytes& record) {
    if (record.size() < 4 || record[0] != kLengthLimitRecord) {
        return std::nullopt;
    }
    return LengthLimit{record[2], record[3]};
}

std::optional<MatchString> ReadMatchString(const Bytes& record) {
    if (record.empty() || record[0] != kMatchStringRecord) {
        return std::nullopt;
    }
    RecordReader in(record);
    in.Byte();
    in.Byte();
    MatchString match;
    match.offset = in.Byte();
    match.text = in.String();
    return match;
}

}  // namespace ravelfin
