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
std::uint8_t AnyByte(Rng& rng) { return static_cast<std::uint8_t>(rng()); }

Bytes RandomBytes(Rng& rng, std::size_t maxLength) {
    Bytes bytes(Below(rng, maxLength + 1));
    for (auto& b : bytes) b = AnyByte(rng);
    return bytes;
}

/// A well-formed custom card item of a random kind on track 1 to 3.
Bytes RandomCustomItem(Rng& rng, std::uint8_t kind, std::size_t maxString) {
    const auto track = static_cast<std::uint8_t>((1 + Below(rng, 3)) << 5 | Below(rng, 12));
    const auto string = [&](Bytes& out) {
        const Bytes s = RandomBytes(rng, maxString);
        out.push_back(static_cast<std::uint8_t>(s.size()));
        out.insert(out.end(), s.begin(), s.end());
    };
    Bytes item = {kind, track, AnyByte(rng)};
    switch (kind) {
        case kLengthLimitRecord: item.push_back(AnyByte(rng)); break;
        case kMatchStringRecord:
        case kBeforeField: string(item); break;
        case kAfterField:
            item.insert(item.end(), {AnyByte(rng), AnyByte(rng)});
            string(item);
            break;
        default:  // between and among: two strings with their times between them
            string(item);
            item.push_back(AnyByte(rng));
            string(item);
            if (kind == kAmongField) item.insert(item.end(), {AnyByte(rng), AnyByte(rng)});
    }
    return item;
}

void FillCard(Rng& rng, CustomCardDefinition& card, std::size_t fields, std::size_t maxString) {
    for (std::size_t i = 0; i < fields; ++i) {
        card.fields.push_back(RandomCustomItem(
            rng, static_cast<std::uint8_t>(kBeforeField + Below(rng, 4)), maxString));
    }
    for (std::size_t t = 0; t < 3; ++t) {
        if (rng() % 2) card.lengthLimits[t] = RandomCustomItem(rng, kLengthLimitRecord, 0);
        if (rng() % 2) card.matchStrings[t] = RandomCustomItem(rng, kMatchStringRecord, 6);
    }
}

/// A record with random content of random sizes; `scale` bounds the string lengths.
ReaderSettings RandomRecord(Rng& rng, std::size_t scale) {
    ReaderSettings r = VariedRecord(kVersions[Below(rng, std::size(kVersions))]);
    for (std::uint8_t* field : OneByteFields(r)) *field = AnyByte(rng);
    r.SecurityLevel = AnyByte(rng);
    r.Encryption = AnyByte(rng);
    for (Bytes* s : {&r.Preamble, &r.Postamble, &r.Track1Prefix, &r.Track2Prefix,
                     &r.Track3Prefix, &r.Track1Suffix, &r.Track2Suffix, &r.Track3Suffix}) {
        *s = RandomBytes(rng, scale);
    }
    r.addedFields.clear();
    for (std::size_t i = Below(rng, kMaxAddedFields + 1); i > 0; --i) {
        r.addedFields.push_back(RandomBytes(rng, kMaxAddedFieldLength - 1));
        r.addedFields.back().push_back(AnyByte(rng));
    }
    r.custom.Clear();
    r.custom2.Clear();
    FillCard(rng, r.custom, Below(rng, kMaxCustomFields + 1), scale / 8);
    FillCard(rng, r.custom2, Below(rng, 4), scale / 8);
    for (Bytes& formula : r.formulas) formula = RandomBytes(rng, scale / 2);
    return r;
}

/// The records with the most content the editors can give, and random ones around them.
std::vector<ReaderSettings> LargeRecords(Rng& rng) {
    std::vector<ReaderSettings> records;
    for (double version : kVersions) {
        ReaderSettings r = VariedRecord(version);
        r.addedFields.assign(kMaxAddedFields, Bytes(kMaxAddedFieldLength, 'f'));
        r.custom.Clear();
        FillCard(rng, r.custom, kMaxCustomFields, 4);  // still fits one block
        r.custom2 = r.custom;
        r.Preamble = Bytes(100, 'p');
        r.Postamble = Bytes(50, 'q');
        records.push_back(r);

        r.custom.Clear();
        FillCard(rng, r.custom, kMaxCustomFields, 40);
        for (Bytes* s : {&r.Preamble, &r.Postamble, &r.Track1Prefix, &r.Track2Prefix,
                         &r.Track3Prefix, &r.Track1Suffix, &r.Track2Suffix, &r.Track3Suffix}) {
            *s = Bytes(254, 's');
        }
        for (Bytes& formula : r.formulas) formula = Bytes(254, 0x21);
        records.push_back(r);
    }
    for (int i = 0; i < 24; ++i) records.push_back(RandomRecord(rng, i % 2 ? 254 : 60));
    return records;
}

/// Positions of the Len bytes of a well-formed frame.
std::vector<std::size_t> LenPositions(const ByteList& frame) {
    std::vector<std::size_t> positions;
    for (std::size_t p = 2; p + 1 < frame.size() && frame[p] != kEtx; p += 2 + frame[p + 1]) {
        positions.push_back(p + 1);
    }
    return positions;
}

ByteList Mutate(ByteList bytes, Rng& rng) {
    const std::vector<std::size_t> lens = LenPositions(bytes);
    for (std::size_t n = 1 + Below(rng, 4); n > 0; --n) {
        const std::size_t at = Below(rng, bytes.size());
        switch (rng() % 6) {
            case 0:
                if (!bytes.empty()) bytes[at] ^= static_cast<std::uint8_t>(1 << (rng() % 8));
                break;
            case 1:
                if (!bytes.empty()) bytes[at] = AnyByte(rng);
                break;
            case 2: bytes.resize(Below(rng, bytes.size() + 1)); break;
            case 3: bytes.insert(bytes.begin() + static_cast<long>(at), AnyByte(rng)); break;
            case 4:
                if (!bytes.empty()) bytes.erase(bytes.begin() + static_cast<long>(at));
                break;
            default: {
                const std::size_t len = lens.empty() ? 0 : lens[Below(rng, lens.size())];
                if (len < bytes.size()) bytes[len] = static_cast<std::uint8_t>(0x80 | rng());
            }
        }
    }
    // Often repair the LRC, so that the walk also succeeds on damaged content.
    if (rng() % 2 && bytes.size() >= 2 && bytes[bytes.size() - 2] == kEtx) {
        const std::size_t stx = !bytes.empty() && bytes[0] != kStx ? 1 : 0;
        bytes.back() = ComputeLrc(std::span(bytes).subspan(stx, bytes.size() - 1 - stx));
    }
    return bytes;
}

ByteList RandomInput(Rng& rng) {
    ByteList bytes = RandomBytes(rng, 1100);
    if (!bytes.empty() && rng() % 2) bytes[0] = kStx;
    return bytes;
}

/// What every successful parse must leave: items in the shapes the record can hold.
void ExpectWellFormed(const ReaderSettings& r) {
    for (const Bytes& field : r.addedFields) {
        EXPECT_TRUE(!field.empty() && field.size() <= kMaxAddedFieldLength);
    }
    for (const CustomCardDefinition* card : {&r.custom, &r.custom2}) {
        for (const Bytes& field : card->fields) {
            EXPECT_TRUE(field.size() >= 4 && field[0] >= kBeforeField && field[0] <= kAmongField);
        }
        for (const Bytes& limit : card->lengthLimits) {
            EXPECT_TRUE(limit.empty() || limit[0] == kLengthLimitRecord);
        }
    }
}

/// Valid frames in every shape the parser meets: encoded by each encoder, with and without
/// the ACK a reader puts in front.
std::vector<ByteList> Seeds(Rng& rng) {
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
    return seeds;
}

TEST(Robustness, ParserSurvivesRandomAndDamagedInput) {
    Rng rng(0x5EED);
    const std::vector<ByteList> seeds = Seeds(rng);
    ASSERT_GT(seeds.size(), 200u);
    ReaderSettings r;
    int accepted = 0;
    for (int i = 0; i < 200000; ++i) {
        const ByteList input =
            i % 4 == 0 ? RandomInput(rng) : Mutate(seeds[Below(rng, seeds.size())], rng);
        const ByteList exact(input.begin(), input.end());  // no spare capacity behind it
        if (ParseSettings(exact, r)) {
            ++accepted;
            ExpectWellFormed(r);
        }
        if (::testing::Test::HasFailure()) FAIL() << ::testing::PrintToString(input);
    }
    EXPECT_GT(accepted, 20000);  // the damaged frames reach deep into the walk
}

TEST(Robustness, LoadingDamagedFilesNeverHalfLoads) {
    Rng rng(0xF11E);
    TempDir dir;
    std::vector<ByteList> files;
    for (double version : kVersions) {
        const std::string path = dir.File("seed.cfs2");
        ASSERT_TRUE(SaveSettingsFile(VariedRecord(version), path));
        files.push_back(ReadFile(path));
    }
    const ReaderSettings before = VariedRecord(1.0);
    const std::string path = dir.File("damaged.cfs2");
    for (int i = 0; i < 3000; ++i) {
        ByteList file = files[Below(rng, files.size())];
        const ByteList header(file.begin(), file.begin() + 16);
        file = Mutate(ByteList(file.begin() + 16, file.end()), rng);
        if (rng() % 8 == 0) {
            file.insert(file.begin(), header.begin(), header.begin() + Below(rng, 17));
            file = Mutate(file, rng);
        } else {
            file.insert(file.begin(), header.begin(), header.end());
        }
        WriteFile(path, file);
        ReaderSettings r = before;
        if (LoadSettingsFile(r, path)) {
            ExpectWellFormed(r);
            EXPECT_EQ(r.InterfaceType, before.InterfaceType);
            EXPECT_EQ(r.FirmwareVersionNumber, before.FirmwareVersionNumber);
            EXPECT_EQ(r.ModelClass, before.ModelClass);
        } else {
            EXPECT_EQ(r, before);
        }
        if (::testing::Test::HasFailure()) FAIL() << ::testing::PrintToString(file);
    }
}

TEST(Robustness, EncodersFitEveryCapacityOrFail) {
    Rng rng(0xC0DE);
    int fitted = 0;
    for (const ReaderSettings& r : LargeRecords(rng)) {
        for (Encoder encode : kEncoders) {
            ByteList natural(4096);
            std::size_t naturalLength = 0;
            const bool encodable = encode(r, natural, naturalLength);
            natural.resize(naturalLength);
            for (std::size_t capacity = kMinEncoderCapacity; capacity <= 1024; ++capacity) {
                ByteList frame(capacity);  // exactly the capacity: any overrun is caught
                std::size_t length = 1;
                const bool ok = encode(r, frame, length);
                ASSERT_EQ(ok, encodable && naturalLength <= capacity) << capacity;
                if (ok) {
                    ++fitted;
                    ASSERT_EQ(ByteList(frame.begin(), frame.begin() + length), natural);
                } else {
                    ASSERT_EQ(length, 0u);
                }
            }
            if (encodable) {
                ReaderSettings back;
                EXPECT_TRUE(ParseSettings(natural, back));
            }
        }
    }
    EXPECT_GT(fitted, 10000);
}

}  // namespace
}  // namespace ravelfin
