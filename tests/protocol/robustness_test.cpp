#include <gtest/gtest.h>

#include <random>

#include "protocol/settings_encoder.h"
#include "protocol/settings_file.h"
#include "protocol/settings_parser.h"
#include "temp_dir.h"
#include "test_records.h"

namespace ravelfin {
namespace {

using Rng = std::mt19937;
using Encoder = bool (*)(const ReaderSettings&, std::span<std::uint8_t>, std::size_t&);
constexpr Encoder kEncoders[] = {EncodeGeneralSettings, EncodeDataEditFrame, EncodeAllSettings};
constexpr double kVersions[] = {3.0, 3.31, 3.32, 3.33, 4.25, 4.26, 4.3, 4.31};

std::size_t Below(Rng& rng, std::size_t n) { return n == 0 ? 0 : rng() % n; }

/// Random bytes, as many as `maxLength` when `full`, otherwise up to that many.
Bytes RandomBytes(Rng& rng, std::size_t maxLength, bool full = false) {
    Bytes bytes(full ? maxLength : Below(rng, maxLength + 1));
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    return bytes;
}

/// Well-formed custom card items on tracks 1 to 3: `fields` fields of kinds 0xF2 to 0xF5 with
/// strings of up to `maxString` bytes, and length limits (0xF0) and match strings (0xF1).
void FillCard(Rng& rng, CustomCardDefinition& card, std::size_t fields, std::size_t maxString,
              bool full) {
    const auto item = [&](std::uint8_t kind, std::size_t maxLength) {
        // After kind and track: b a loose byte, s a count byte and as many bytes.
        static const char* const kShapes[] = {"bb", "bs", "bs", "bsbs", "bbbs", "bsbsbb"};
        Bytes out = {kind, static_cast<std::uint8_t>((1 + Below(rng, 3)) << 5 | Below(rng, 12))};
        for (const char* c = kShapes[kind - kLengthLimitRecord]; *c != 0; ++c) {
            const Bytes s = *c == 's' ? RandomBytes(rng, maxLength, full) : Bytes{};
            out.push_back(static_cast<std::uint8_t>(*c == 's' ? s.size() : rng()));
            out.insert(out.end(), s.begin(), s.end());
        }
        return out;
    };
    card.Clear();
    for (std::size_t i = 0; i < fields; ++i) {
        card.fields.push_back(item(static_cast<std::uint8_t>(kBeforeField + rng() % 4), maxString));
    }
    for (std::size_t t = 0; t < 3; ++t) {
        if (full || rng() % 2) card.lengthLimits[t] = item(kLengthLimitRecord, 0);
        if (full || rng() % 2) card.matchStrings[t] = item(kMatchStringRecord, 6);
    }
}

/// A record with random content: `scale` bounds the string lengths, and `full` gives every
/// string and list its longest length.
ReaderSettings RandomRecord(Rng& rng, std::size_t scale, bool full = false) {
    ReaderSettings r = VariedRecord(kVersions[Below(rng, std::size(kVersions))]);
    for (std::uint8_t* field : OneByteFields(r)) *field = static_cast<std::uint8_t>(rng());
    r.SecurityLevel = static_cast<std::uint8_t>(rng());
    r.Encryption = static_cast<std::uint8_t>(rng());
    for (Bytes* s : {&r.Preamble, &r.Postamble, &r.Track1Prefix, &r.Track2Prefix,
                     &r.Track3Prefix, &r.Track1Suffix, &r.Track2Suffix, &r.Track3Suffix}) {
        *s = RandomBytes(rng, scale, full);
    }
    r.addedFields.resize(full ? kMaxAddedFields : Below(rng, kMaxAddedFields + 1));
    for (Bytes& field : r.addedFields) {
        field = RandomBytes(rng, kMaxAddedFieldLength - 1, full);
        field.push_back(static_cast<std::uint8_t>(rng()));  // never empty
    }
    FillCard(rng, r.custom, full ? kMaxCustomFields : Below(rng, kMaxCustomFields + 1),
             scale / 8, full);
    FillCard(rng, r.custom2, full ? kMaxCustomFields : Below(rng, 4), scale / 8, full);
    for (Bytes& formula : r.formulas) formula = RandomBytes(rng, scale / 2, full);
    return r;
}

/// Damages a frame a few times over: bit flips, new bytes, cuts, insertions, deletions and
/// Len bytes that claim too much; then often repairs the LRC so the walk goes on.
ByteList Mutate(ByteList bytes, Rng& rng) {
    std::vector<std::size_t> lens;  // where a well-formed frame keeps its Len bytes
    for (std::size_t p = 2; p + 1 < bytes.size() && bytes[p] != kEtx; p += 2 + bytes[p + 1]) {
        lens.push_back(p + 1);
    }
    for (std::size_t n = 1 + Below(rng, 4); n > 0; --n) {
        const std::size_t at = Below(rng, bytes.size());
        const auto it = bytes.begin() + static_cast<long>(at);
        const std::size_t len = lens.empty() ? 0 : lens[Below(rng, lens.size())];
        switch (rng() % 6) {
            case 0: if (it != bytes.end()) *it ^= static_cast<std::uint8_t>(1 << rng() % 8); break;
            case 1: if (it != bytes.end()) *it = static_cast<std::uint8_t>(rng()); break;
            case 2: bytes.resize(Below(rng, bytes.size() + 1)); break;
            case 3: bytes.insert(it, static_cast<std::uint8_t>(rng())); break;
            case 4: if (it != bytes.end()) bytes.erase(it); break;
            default: if (len < bytes.size()) bytes[len] = static_cast<std::uint8_t>(0x80 | rng());
        }
    }
    if (rng() % 2 && bytes.size() >= 2 && bytes[bytes.size() - 2] == kEtx) {
        const std::size_t stx = bytes[0] != kStx ? 1 : 0;
        bytes.back() = ComputeLrc(std::span(bytes).subspan(stx, bytes.size() - 1 - stx));
    }
    return bytes;
}

/// What every successful parse must leave: items in the shapes the record can hold.
void ExpectWellFormed(const ReaderSettings& r) {
    for (const Bytes& f : r.addedFields) EXPECT_TRUE(!f.empty() && f.size() <= 8);
    for (const CustomCardDefinition* card : {&r.custom, &r.custom2}) {
        for (const Bytes& f : card->fields) {
            EXPECT_TRUE(f.size() >= 4 && f[0] >= kBeforeField && f[0] <= kAmongField);
        }
        for (const Bytes& l : card->lengthLimits) EXPECT_TRUE(l.empty() || l[0] == 0xF0);
    }
}

TEST(Robustness, ParserAndLoaderSurviveRandomAndDamagedInput) {
    Rng rng(0x5EED);
    // Valid frames of every encoder, with and without the ACK a reader puts in front.
    std::vector<ByteList> seeds;
    for (int i = 0; i < 40; ++i) {
        const ReaderSettings r = i < 8 ? VariedRecord(kVersions[i]) : RandomRecord(rng, 40);
        for (Encoder encode : kEncoders) {
            ByteList frame(1024);
            std::size_t length = 0;
            if (!encode(r, frame, length)) continue;
            frame.resize(length);
            seeds.push_back(frame);
            frame.insert(frame.begin(), kAck);
            seeds.push_back(frame);
        }
    }
    ASSERT_GT(seeds.size(), 200u);
    TempDir dir;
    const std::string path = dir.File("damaged.cfs2");
    ASSERT_TRUE(SaveSettingsFile(VariedRecord(4.3), path));
    ByteList header = ReadFile(path);
    header.resize(16);
    const ReaderSettings before = VariedRecord(1.0);
    int parsed = 0, loaded = 0;
    for (int i = 0; i < 200000; ++i) {
        ByteList input = seeds[Below(rng, seeds.size())];
        if (i % 4 == 0) {  // random bytes, half of them after an STX
            input = RandomBytes(rng, 1100);
            if (!input.empty() && rng() % 2) input[0] = kStx;
        } else {
            input = Mutate(input, rng);
        }
        input.shrink_to_fit();  // no spare capacity behind it
        ReaderSettings r;
        if (ParseSettings(input, r)) {
            ++parsed;
            ExpectWellFormed(r);
        }

        if (i % 32 == 1) {  // the same as a file, now and then with its header damaged too
            ByteList file = header;  // a file has no ACK in front of its frame
            const bool ack = !input.empty() && input[0] == kAck;
            file.insert(file.end(), input.begin() + ack, input.end());
            WriteFile(path, rng() % 8 ? file : Mutate(file, rng));
            r = before;
            if (LoadSettingsFile(r, path)) {
                ++loaded;
                ExpectWellFormed(r);
                EXPECT_EQ(std::tie(r.InterfaceType, r.FirmwareVersionNumber, r.ModelClass),
                          std::tie(before.InterfaceType, before.FirmwareVersionNumber,
                                   before.ModelClass));
            } else {
                EXPECT_EQ(r, before);
            }
        }
        if (::testing::Test::HasFailure()) FAIL() << ::testing::PrintToString(input);
    }
    EXPECT_GT(parsed, 20000);  // the damaged frames reach deep into the walk
    EXPECT_GT(loaded, 500);
}

TEST(Robustness, EncodersFitEveryCapacityOrFail) {
    Rng rng(0xC0DE);
    // The records with the most content the editors can give, one of them still encodable,
    // and random ones around them.
    std::vector<ReaderSettings> records;
    for (double version : kVersions) {
        for (std::size_t scale : {32, 254}) {
            records.push_back(RandomRecord(rng, scale, true));
            records.back().FirmwareVersionNumber = version;
        }
    }
    for (int i = 0; i < 24; ++i) records.push_back(RandomRecord(rng, i % 2 ? 254 : 60));

    int fitted = 0;
    for (const ReaderSettings& r : records) {
        for (Encoder encode : kEncoders) {
            ByteList natural(4096);
            std::size_t naturalLength = 0;
            const bool encodable = encode(r, natural, naturalLength);
            natural.resize(naturalLength);
            ReaderSettings back;
            EXPECT_TRUE(!encodable || ParseSettings(natural, back));
            for (std::size_t capacity = kMinEncoderCapacity; capacity <= 1024; ++capacity) {
                ByteList frame(capacity + 8, 0xEE);  // guard bytes behind the capacity
                std::size_t length = 1;
                const bool ok = encode(r, std::span(frame).first(capacity), length);
                ASSERT_EQ(ok, encodable && naturalLength <= capacity) << capacity;
                ASSERT_EQ(length, ok ? naturalLength : 0u) << capacity;
                fitted += ok;
                ASSERT_TRUE(!ok || std::equal(natural.begin(), natural.end(), frame.begin()));
                ASSERT_EQ(ByteList(frame.begin() + capacity, frame.end()), ByteList(8, 0xEE));
            }
        }
    }
    EXPECT_GT(fitted, 10000);
}

}  // namespace
}  // namespace ravelfin
