#include "protocol/settings_encoder.h"

#include <gtest/gtest.h>

#include "protocol/settings_parser.h"
#include "test_records.h"

namespace ravelfin {
namespace {

using Encoder = bool (*)(const ReaderSettings&, std::span<std::uint8_t>, std::size_t&);

/// Encodes the record as firmware `version` into a buffer of `capacity` bytes followed by
/// guard bytes that must stay intact.
ByteList Encode(Encoder encode, ReaderSettings r, double version, std::size_t capacity = 1024) {
    r.FirmwareVersionNumber = version;
    ByteList frame(capacity + 16, 0xEE);
    std::size_t length = 99;
    const bool ok = encode(r, std::span(frame).first(capacity), length);
    EXPECT_EQ(ok, length != 0);
    EXPECT_EQ(ByteList(frame.begin() + capacity, frame.end()), ByteList(16, 0xEE));
    frame.resize(length);
    return frame;
}

/// One-byte items, then string items, each holding its own FuncID.
ByteList Items(const ByteList& ids, const ByteList& stringIds = {}) {
    ByteList out;
    for (std::uint8_t id : ids) out.insert(out.end(), {id, 1, id});
    for (std::uint8_t id : stringIds) out.insert(out.end(), {id, 2, 1, id});
    return out;
}

TEST(SettingsEncoder, EveryItemCarriesItsOwnFieldInOrder) {
    // Every carried setting holds its own FuncID.
    ReaderSettings r;
    const ByteList oneByteIds = {0x10, 0x11, 0xAE, 0x12, 'D', 'E', 'A', 'B', 'C', 'G', 'H',
                                 0x13, 0x17, 0x15, 0x16, '!', 0x19, 0x1A, 0x1D, 0x60, '#',
                                 'a',  'b',  'c',  'd',  'e', 'f', 'g', 'h', '$', '%',
                                 'i',  'j',  'k',  'I',  'J', 'K', 0x1B};
    const std::vector<std::uint8_t*> fields = OneByteFields(r);
    for (std::size_t i = 0; i < fields.size(); ++i) *fields[i] = oneByteIds[i];
    r.BeepMode = 2;  // not carried at 4.26
    r.KbPollInterval = r.KbPollIntervalRead = 0x14;
    r.Encryption = 'L', r.SecurityLevel = '~';
    std::uint8_t id = '4';
    for (Bytes* s : {&r.Track1Prefix, &r.Track2Prefix, &r.Track3Prefix, &r.Track1Suffix,
                     &r.Track2Suffix, &r.Track3Suffix}) {
        *s = {id++};
    }
    r.Preamble = {0xD2}, r.Postamble = {0xD3};

    const ByteList a = Items({0x10, 0x11, 0x12, 'D', 'E', 'A', 'B', 'C', 'G', 'H', 0x13, 0x17,
                              0x15, 0x16, '!', 0x1B, 0x19, 0x1A, 0x1D, 0x60, '#', 'a', 'b', 'c',
                              'd', 'e', 'f', 'g', 'h'},
                             {0xD2, 0xD3});
    const ByteList b = Items({'i', 'j', 'k', 0x14, '$', '%'}, {'4', '5', '6', '7', '8', '9'});
    const ByteList security = Items({'I', 'J', 'K', 'L'});
    EXPECT_EQ(Encode(EncodeGeneralSettings, r, 4.26), Frame({a, b, security}));
    const ByteList all = Encode(EncodeAllSettings, r, 4.26);
    const ByteList emptyDataEdit = {0xFA, 0, 0xFB, 0, 0xFC, 8, 0, 0xFF, 0,
                                    0xFF, 0, 0xFF, 0, 0xFF, 0xFD, 0};
    EXPECT_EQ(all, Frame({a, emptyDataEdit, b, security, Items({'~'})}));

    // The parser maps every FuncID back to the same field.
    ReaderSettings back;
    ASSERT_TRUE(ParseSettings(all, back));
    EXPECT_EQ(back, r);
}

TEST(SettingsEncoder, GeneralFrameFollowsTheFirmwareVersionAndSecurity) {
    ReaderSettings r;
    r.SecurityLevel = r.Encryption = '1';
    const ByteList v425 = Encode(EncodeGeneralSettings, r, 4.25);
    EXPECT_EQ(v425.size(), 133u);
    EXPECT_EQ(v425[89], 0xD2);
    EXPECT_EQ(ByteList(v425.begin() + 5, v425.begin() + 8), (ByteList{0x11, 1, '2'}));
    EXPECT_EQ(Encode(EncodeGeneralSettings, r, 4.31)[5], 0x11);
    const ByteList v43 = Encode(EncodeGeneralSettings, r, 4.3);
    EXPECT_EQ(ByteList(v43.begin() + 5, v43.begin() + 8), (ByteList{0xAE, 1, 2}));
    EXPECT_EQ(Encode(EncodeGeneralSettings, r, 4.26).size(), 145u);
    r.SecurityLevel = '4';  // hides the encryption whatever it holds
    EXPECT_EQ(Encode(EncodeGeneralSettings, r, 4.26).size(), 142u);
    r.SecurityLevel = '1', r.Encryption = '0';
    EXPECT_EQ(Encode(EncodeGeneralSettings, r, 4.26).size(), 142u);
}

TEST(SettingsEncoder, DataEditFrameFollowsTheFirmwareVersion) {
    ReaderSettings r;
    EXPECT_EQ(Encode(EncodeDataEditFrame, r, 3.0),
              (ByteList{2, 0x53, 0xFA, 0, 0xFB, 0, 0xFC, 8, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF,
                        3, 0xA7}));
    EXPECT_EQ(Encode(EncodeDataEditFrame, r, 4.0),
              (ByteList{2, 0x53, 0xFA, 0, 0xFB, 0, 0xFC, 8, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF,
                        0xFD, 0, 3, 0x5A}));
    r.formulas[0] = {0x21, 0x41};
    EXPECT_EQ(Encode(EncodeDataEditFrame, r, 3.10),
              Frame({{0xFA, 0, 0xFB, 0, 0xFC, 0x0B, 3, 0xE0, 0x21, 0x41, 0xFF, 0, 0xFF, 0, 0xFF,
                      0, 0xFF}}));

    r.formulas = {{{}, {0x31, 0x32}, {}, {}}};
    r.addedFields = {{'a', 'b', 'c'}};
    r.custom2.fields = {{0xF2, 0x20, 1, 1, 'x'}};
    const ByteList added = {0xFA, 9, 3, 'a', 'b', 'c', 0, 0, 0, 0, 0, 0xFB, 0};
    const auto formulas = [](std::uint8_t slot1Code) {
        return ByteList{0xFC, 11, 0, 0xFF, 3, slot1Code, 0x31, 0x32, 0xFF, 0, 0xFF, 0, 0xFF};
    };
    EXPECT_EQ(Encode(EncodeDataEditFrame, r, 3.31), Frame({added, formulas(0xE1)}));
    EXPECT_EQ(Encode(EncodeDataEditFrame, r, 3.32), Frame({added, formulas(0xE4)}));
    EXPECT_EQ(Encode(EncodeDataEditFrame, r, 3.33),
              Frame({added, formulas(0xE4), {0xFD, 5, 0xF2, 0x20, 1, 1, 'x'}}));
}

TEST(SettingsEncoder, FailsRatherThanOverrunOrMisframe) {
    // Frames that fit some of the capacities from the smallest allowed up, and not others.
    ReaderSettings r = VariedRecord(4.3);
    r.Preamble = r.Postamble = r.Track1Prefix = Bytes(180, 'p');
    r.formulas[0] = Bytes(120, 0x21);
    for (Encoder encode : {EncodeGeneralSettings, EncodeDataEditFrame, EncodeAllSettings}) {
        const ByteList natural = Encode(encode, r, 4.3, 4096);
        ASSERT_FALSE(natural.empty());
        for (std::size_t capacity = kMinEncoderCapacity - 1; capacity <= 1024; ++capacity) {
            const ByteList frame = Encode(encode, r, 4.3, capacity);  // checks the guard bytes
            const bool fits = capacity >= kMinEncoderCapacity && natural.size() <= capacity;
            ASSERT_EQ(frame, fits ? natural : ByteList{}) << natural.size() << " in " << capacity;
        }
    }
    // Content that no Len byte can describe is refused.
    r = ReaderSettings();
    r.Preamble = Bytes(255, 'p');
    EXPECT_TRUE(Encode(EncodeGeneralSettings, r, 4.3).empty());
    ReaderSettings dataEdit;
    dataEdit.addedFields = {Bytes(9, 'a')};
    EXPECT_TRUE(Encode(EncodeDataEditFrame, dataEdit, 3.0).empty());
    dataEdit.addedFields.clear();
    dataEdit.custom.fields.assign(3, Bytes(90, 0xF2));  // a block of 270 bytes
    EXPECT_TRUE(Encode(EncodeDataEditFrame, dataEdit, 3.0).empty());
    dataEdit.custom.fields.pop_back();
    EXPECT_EQ(Encode(EncodeDataEditFrame, dataEdit, 3.0).size(), 18u + 180u);
}

}  // namespace
}  // namespace ravelfin
