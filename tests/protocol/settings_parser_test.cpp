#include "protocol/settings_parser.h"

#include <gtest/gtest.h>

#include "protocol/settings_encoder.h"
#include "test_records.h"

namespace ravelfin {
namespace {

/// A record full of non-default values, as the parser finds it before a walk.
ReaderSettings Stale() {
    return VariedRecord(4.26);
}

/// What the parser's reset makes of Stale().
ReaderSettings StaleReset() {
    ReaderSettings r = Stale();
    r.ResetAllDefaults();
    r.SecurityLevel = '0';
    return r;
}

/// Parses STX + body + ETX + LRC into a stale record.
ReaderSettings ParseBody(const ByteList& body) {
    ByteList frame = {kStx};
    frame.insert(frame.end(), body.begin(), body.end());
    frame.push_back(kEtx);
    ReaderSettings r = Stale();
    EXPECT_TRUE(ParseSettings(WithLrc(frame), r));
    return r;
}

TEST(SettingsParser, StartsFromDefaultsAndChecksStartAndLrcWithoutRollback) {
    const ByteList frame = WithLrc({kAck, kStx, 'S', 0x10, 1, '1', kEtx}, 1);
    ByteList wrongLrc = frame;
    wrongLrc.back() ^= 1;
    ReaderSettings withOne = StaleReset();
    withOne.TerminalType = '1';
    const std::tuple<ByteList, bool, ReaderSettings> cases[] = {
        {frame, true, withOne},
        {wrongLrc, false, withOne},             // stored before the failure
        {{kStx, 0x10, 1, '1'}, true, withOne},  // no ETX
        {WithLrc({0xFA, kStx, 0x10, 1, '1', kEtx}, 1), true, withOne},
        {{}, false, Stale()},                             // an empty source is left alone
        {{0x05, kStx, kEtx, 0x01}, false, StaleReset()},  // no STX
        {{kAck, 0x05, kStx, kEtx}, false, StaleReset()},
        {{kAck}, false, StaleReset()}};
    for (const auto& [source, ok, expected] : cases) {
        ReaderSettings r = Stale();
        EXPECT_EQ(ParseSettings(source, r), ok) << ::testing::PrintToString(source);
        EXPECT_EQ(r, expected) << ::testing::PrintToString(source);
    }
}

TEST(SettingsParser, GuardedSettingsNeedTheirLenAndTheWalkResumesAfterTheirLen) {
    auto r = ParseBody({0x14, 1, 7, 0x77, 1, 'x', 'R', 0x69, 1, '!', 0x7E, 1, '3', 0x4C, 1, '2'});
    EXPECT_EQ(r.KbPollInterval, 7);
    EXPECT_EQ(r.KbPollIntervalRead, 7);
    EXPECT_EQ(r.Track1EndSentinel, '!');
    EXPECT_EQ(r.SecurityLevel, '3');
    EXPECT_EQ(r.Encryption, '2');

    // Len 2 on 0x4C, or a serial number of 8: nothing stored, the walk resumes at the data.
    r = ParseBody({0x4C, 2, 0x10, 1, '5', 0x4E, 8, 0x11, 1, '3', 'S', 'R'});
    EXPECT_EQ(r.Encryption, StaleReset().Encryption);
    EXPECT_EQ(r.SerialNumber, Stale().SerialNumber);
    EXPECT_EQ(r.TerminalType, '5');
    EXPECT_EQ(r.BeepVolume, '3');
    r = ParseBody({0x4E, 9, 8, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'});
    EXPECT_EQ(r.SerialNumber,
              (std::array<std::uint8_t, 11>{8, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}));
}

TEST(SettingsParser, StringsAndAddedFieldsFollowTheirLen) {
    auto r = ParseBody({0x34, 1, 0, 0x35, 4, 3, 'A', 'B', 'C', 0xD3, 0, 0x36, 3, 9, 0, 'x'});
    EXPECT_TRUE(r.Track1Prefix.empty());
    EXPECT_EQ(r.Track2Prefix, (Bytes{'A', 'B', 'C'}));
    EXPECT_TRUE(r.Postamble.empty());
    EXPECT_EQ(r.Track3Prefix, (Bytes{0, 'x'}));  // not its count byte

    ByteList body = {0xFA, 30};  // three entries; the 3 bytes left over are walked as items
    for (ByteList entry : {ByteList{2, 'A', 'B'}, ByteList{0}, ByteList{9, 1, 2, 3, 4, 5, 6, 7}}) {
        entry.resize(9, 0);
        body.insert(body.end(), entry.begin(), entry.end());
    }
    body.insert(body.end(), {0x10, 1, '4'});
    r = ParseBody(body);
    EXPECT_EQ(r.addedFields, (std::vector<Bytes>{{'A', 'B'}}));  // empty and overlong skipped
    EXPECT_EQ(r.TerminalType, '4');
}

TEST(SettingsParser, FormulaSlotsAndCustomItemsGoToTheirPlace) {
    auto r = ParseBody({0xFC, 11, 3, 0xE4, '1', '2', 0xFF, 0, 0xFF, 2, 0xE3, 'z', 0xFF});
    EXPECT_EQ(r.formulas, (std::array<Bytes, 4>{{{}, {'1', '2'}, {}, {'z'}}}));
    r = ParseBody({0xFC, 9, 2, 0xE5, 0x10, 1, '6'});  // a code past 4 ends the block
    EXPECT_EQ(r.TerminalType, '6');
    EXPECT_EQ(r.formulas, StaleReset().formulas);

    // clang-format off
    r = ParseBody({0xFD, 28,
                   0xF0, 0x60, 1, 9,             // track 3 length limit
                   0xF1, 0x20, 0, 1, 'M',        // track 1 match string
                   0xF2, 0x80, 1, 1, 'Q',        // track 4: no place for it
                   0xF0, 0x00, 1, 2,             // track 0: no place for it
                   0xF4, 0x41, 1, 0, 3, 1, 'x',  // a field
                   0x10, 1, '7'});               // not an item: the block ends
    // clang-format on
    EXPECT_EQ(r.custom2.lengthLimits[2], (Bytes{0xF0, 0x60, 1, 9}));
    EXPECT_EQ(r.custom2.matchStrings[0], (Bytes{0xF1, 0x20, 0, 1, 'M'}));
    EXPECT_EQ(r.custom2.fields, (std::vector<Bytes>{{0xF4, 0x41, 1, 0, 3, 1, 'x'}}));
    EXPECT_EQ(r.custom, StaleReset().custom);
    EXPECT_EQ(r.TerminalType, '7');
}

// A settings answer can lose its end on the link at any byte; cut between two items it still
// walks cleanly, and its missing settings would pass for the reader's own factory defaults.
TEST(SettingsParser, AReadAllAnswerCutAtAnyByteIsRefused) {
    ByteList full = Encoded(EncodeAllSettings, VariedRecord(4.3));
    full.insert(full.begin(), kAck);
    // Serial answers end where the bytes end; HID answers run on in zero-filled reports.
    for (std::size_t padding : {0, 32}) {
        for (std::size_t keep = 1; keep <= full.size(); ++keep) {
            ByteList answer(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(keep));
            answer.resize(keep + padding, 0);
            ReaderSettings r;
            EXPECT_EQ(ParseSettingsAnswer(answer, r), keep == full.size()) << keep;
        }
    }
}

TEST(SettingsParser, NeverReadsPastTheSourceOrABlock) {
    const ByteList cases[] = {
        {kStx, 0x10, 1},                         // value missing
        {kStx, 0x10, 1, '1', kEtx},              // LRC missing
        {kStx, 0x34, 5, 4, 'A'},                 // string runs past the end
        {kStx, 0x34, 3, 2, 'A'},                 // string one byte short of its Len
        {kStx, 0x90, 2, 1},                      // unknown item one byte short
        {kStx, 0x90, 3, 1},                      // unknown item runs past the end
        {kStx, 0x4E, 9, 8, 'A'},                 // serial number runs past the end
        {kStx, 0xFA, 9, 2, 'A'},                 // added field entry runs past the end
        {kStx, 0xFB, 3, 0xF0, 0x20, 1, 2},       // item larger than its block
        {kStx, 0xFB, 6, 0xF3, 0x20, 1, 200, 0},  // item sizes point past the end
        {kStx, 0xFC, 1, 0, 0xFF},                // empty slot larger than its block
        {kStx, 0xFC, 9, 9, 0xE0, 1},             // formula runs past the end
    };
    for (const ByteList& source : cases) {
        ReaderSettings r = Stale();
        EXPECT_FALSE(ParseSettings(source, r)) << ::testing::PrintToString(source);
    }
}

}  // namespace
}  // namespace ravelfin
