#include "protocol/settings_encoder.h"

#include <gtest/gtest.h>

#include "protocol/settings_parser.h"
#include "test_records.h"

namespace ravelfin {
namespace {

using Encoder = bool (*)(const ReaderSettings&, std::span<std::uint8_t>, std::size_t&);

/// Encodes into a buffer of `capacity` bytes followed by guard bytes that must stay intact.
ByteList Encode(Encoder encode, const ReaderSettings& r, std::size_t capacity = 1024) {
    ByteList frame(capacity + 16, 0xEE);
    std::size_t length = 99;
    const bool ok = encode(r, std::span(frame).first(capacity), length);
    EXPECT_EQ(ok, length != 0);
    EXPECT_EQ(ByteList(frame.begin() + capacity, frame.end()), ByteList(16, 0xEE));
    frame.resize(length);
    return frame;
}

ByteList Frame(std::initializer_list<ByteList> parts) {
    ByteList frame = {kStx, 'S'};
    for (const ByteList& part : parts) frame.insert(frame.end(), part.begin(), part.end());
    frame.push_back(kEtx);
    return WithLrc(frame);
}

/// One-byte items whose value is their own FuncID.
ByteList Items(const ByteList& ids) {
    ByteList out;
    for (std::uint8_t id : ids) out.insert(out.end(), {id, 1, id});
    return out;
}

/// String items holding their own FuncID as their one byte.
ByteList Strings(const ByteList& ids) {
    ByteList out;
    for (std::uint8_t id : ids) out.insert(out.end(), {id, 2, 1, id});
    return out;
}

const ByteList kPartA = {0x10, 0x11, 0x12, 'D',  'E',  'A',  'B',  'C', 'G', 'H',
                         0x13, 0x17, 0x15, 0x16, '!',  0x1B, 0x19, 0x1A, 0x1D, 0x60,
                         '#',  'a',  'b',  'c',  'd',  'e',  'f',  'g', 'h'};
const ByteList kPartB = {'i', 'j', 'k', 0x14, '$', '%'};
const ByteList kPrefixesSuffixes = {'4', '5', '6', '7', '8', '9'};

/// Every carried setting holds its own FuncID.
ReaderSettings IdRecord() {
    ReaderSettings r;
    r.FirmwareVersionNumber = 4.26;
    r.TerminalType = 0x10, r.BeepVolume = 0x11, r.InterCharDelay = 0x12, r.TrackSelect = 0x13;
    r.KbPollInterval = r.KbPollIntervalRead = 0x14;
    r.DataFormat = 0x15, r.UicOptions = 0x16, r.TrackSeparator = 0x17, r.SendOptions = 0x19;
    r.MsrReading = 0x1A, r.mode = 0x1B, r.DecodingMethod = 0x1D, r.Terminator = '!';
    r.HidFormat = '#', r.KeyboardLanguage = '$', r.Option25 = '%', r.BaudRate = 'A';
    r.DataBits = 'B', r.Parity = 'C', r.Handshake = 'D', r.StopBits = 'E', r.XOnChar = 'G';
    r.XOffChar = 'H', r.PrePan = 'I', r.PostPan = 'J', r.MaskChar = 'K', r.Encryption = 'L';
    r.SendLrc = 0x60, r.Track1StartSentinel7 = 'a', r.Track1StartSentinel6 = 'b';
    r.Track1StartSentinel5 = 'c', r.Track2StartSentinel7 = 'd', r.Track2StartSentinel5 = 'e';
    r.Track3StartSentinel7 = 'f', r.Track3StartSentinel6 = 'g', r.Track3StartSentinel5 = 'h';
    r.Track1EndSentinel = 'i', r.Track2EndSentinel = 'j', r.Track3EndSentinel = 'k';
    r.SecurityLevel = '~';
    r.Preamble = {0xD2}, r.Postamble = {0xD3};
    r.Track1Prefix = {'4'}, r.Track2Prefix = {'5'}, r.Track3Prefix = {'6'};
    r.Track1Suffix = {'7'}, r.Track2Suffix = {'8'}, r.Track3Suffix = {'9'};
    return r;
}

TEST(SettingsEncoder, EveryItemCarriesItsOwnFieldInOrder) {
    const ReaderSettings r = IdRecord();
    const ByteList security = Items({'I', 'J', 'K', 'L'});
    EXPECT_EQ(Encode(EncodeGeneralSettings, r),
              Frame({Items(kPartA), Strings({0xD2, 0xD3}), Items(kPartB),
                     Strings(kPrefixesSuffixes), security}));
    const ByteList emptyDataEdit = {0xFA, 0, 0xFB, 0, 0xFC, 8, 0, 0xFF, 0,
                                    0xFF, 0, 0xFF, 0, 0xFF, 0xFD, 0};
    const ByteList all = Encode(EncodeAllSettings, r);
    EXPECT_EQ(all, Frame({Items(kPartA), Strings({0xD2, 0xD3}), emptyDataEdit, Items(kPartB),
                          Strings(kPrefixesSuffixes), security, Items({'~'})}));

    // The parser maps every FuncID back to the same field.
    ReaderSettings back;
    back.FirmwareVersionNumber = r.FirmwareVersionNumber;
    ASSERT_TRUE(ParseSettings(all, back));
    EXPECT_EQ(back, r);
}

TEST(SettingsEncoder, GeneralFrameFollowsTheFirmwareVersion) {
    ReaderSettings r;
    r.SecurityLevel = '1';
    r.Encryption = '1';
    const auto encodeAt = [&](double version) {
        r.FirmwareVersionNumber = version;
        return Encode(EncodeGeneralSettings, r);
    };
    ByteList frame = encodeAt(4.25);
    EXPECT_EQ(frame.size(), 133u);
    EXPECT_EQ(frame[89], 0xD2);
    EXPECT_EQ(ByteList(frame.begin() + 5, frame.begin() + 8), (ByteList{0x11, 1, '2'}));
    EXPECT_EQ(encodeAt(4.26).size(), 145u);
    EXPECT_EQ(encodeAt(4.31)[5], 0x11);
    frame = encodeAt(4.3);
    EXPECT_EQ(ByteList(frame.begin() + 5, frame.begin() + 8), (ByteList{0xAE, 1, 2}));

    r.SecurityLevel = '4';  // hides the encryption whatever it holds
    EXPECT_EQ(encodeAt(4.26).size(), 142u);
    r.SecurityLevel = '1';
    r.Encryption = '0';
    EXPECT_EQ(encodeAt(4.26).size(), 142u);
}

TEST(SettingsEncoder, DataEditFrameFollowsTheFirmwareVersion) {
    ReaderSettings r;
    r.FirmwareVersionNumber = 3.0;
    EXPECT_EQ(Encode(EncodeDataEditFrame, r),
              (ByteList{2, 0x53, 0xFA, 0, 0xFB, 0, 0xFC, 8, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF,
                        3, 0xA7}));
    r.FirmwareVersionNumber = 4.0;
    EXPECT_EQ(Encode(EncodeDataEditFrame, r),
              (ByteList{2, 0x53, 0xFA, 0, 0xFB, 0, 0xFC, 8, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF,
                        0xFD, 0, 3, 0x5A}));

    r.FirmwareVersionNumber = 3.10;
    r.formulas[0] = {0x21, 0x41};
    EXPECT_EQ(Encode(EncodeDataEditFrame, r),
              Frame({{0xFA, 0, 0xFB, 0, 0xFC, 0x0B, 3, 0xE0, 0x21, 0x41, 0xFF, 0, 0xFF, 0, 0xFF,
                      0, 0xFF}}));

    r.formulas[0].clear();
    r.formulas[1] = {0x31, 0x32};
    r.addedFields = {{'a', 'b', 'c'}};
    r.custom2.fields = {{0xF2, 0x20, 1, 1, 'x'}};
    const ByteList addedField = {0xFA, 9, 3, 'a', 'b', 'c', 0, 0, 0, 0, 0, 0xFB, 0};
    const auto formulasWithSlot1 = [](std::uint8_t code) {
        return ByteList{0xFC, 11, 0, 0xFF, 3, code, 0x31, 0x32, 0xFF, 0, 0xFF, 0, 0xFF};
    };
    r.FirmwareVersionNumber = 3.31;
    EXPECT_EQ(Encode(EncodeDataEditFrame, r), Frame({addedField, formulasWithSlot1(0xE1)}));
    r.FirmwareVersionNumber = 3.32;
    EXPECT_EQ(Encode(EncodeDataEditFrame, r), Frame({addedField, formulasWithSlot1(0xE4)}));
    r.FirmwareVersionNumber = 3.33;
    EXPECT_EQ(Encode(EncodeDataEditFrame, r),
              Frame({addedField, formulasWithSlot1(0xE4), {0xFD, 5, 0xF2, 0x20, 1, 1, 'x'}}));
}

TEST(SettingsEncoder, FailsRatherThanOverrunOrMisframe) {
    ReaderSettings r;
    r.FirmwareVersionNumber = 4.3;
    for (Encoder encode : {EncodeGeneralSettings, EncodeDataEditFrame, EncodeAllSettings}) {
        EXPECT_TRUE(Encode(encode, r, 608).empty());
        EXPECT_FALSE(Encode(encode, r, kMinEncoderCapacity).empty());
    }

    // Frames that outgrow the buffer stop at its end.
    r.Preamble = Bytes(254, 'p');
    r.Postamble = Bytes(254, 'q');
    r.Track1Prefix = Bytes(100, 'r');
    EXPECT_EQ(Encode(EncodeGeneralSettings, r).size(), 142u + 608u);
    EXPECT_TRUE(Encode(EncodeGeneralSettings, r, 142 + 607).empty());

    // Content that no Len byte can describe is refused.
    r.Preamble = Bytes(255, 'p');
    EXPECT_TRUE(Encode(EncodeGeneralSettings, r).empty());
    ReaderSettings dataEdit;
    dataEdit.addedFields = {Bytes(9, 'a')};
    EXPECT_TRUE(Encode(EncodeDataEditFrame, dataEdit).empty());
    dataEdit.addedFields.clear();
    dataEdit.custom.fields.assign(3, Bytes(90, 0xF2));  // a block of 270 bytes
    EXPECT_TRUE(Encode(EncodeDataEditFrame, dataEdit).empty());
    dataEdit.custom.fields.pop_back();
    EXPECT_EQ(Encode(EncodeDataEditFrame, dataEdit).size(), 18u + 180u);
}

}  // namespace
}  // namespace ravelfin
