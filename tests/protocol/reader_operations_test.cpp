#include "protocol/reader_operations.h"

#include <gtest/gtest.h>

#include "protocol/firmware_version.h"
#include "protocol/settings_encoder.h"
#include "support/scripted_transport.h"
#include "test_records.h"

namespace ravelfin {
namespace {

using testing::ExchangeLog;
using testing::ScriptedTransport;

/// Builds into exactly `capacity` bytes followed by guard bytes that must stay intact.
ByteList Build(std::uint8_t funcId, const ByteList& data, std::size_t capacity) {
    ByteList frame(capacity + 4, 0xEE);
    std::size_t length = 99;
    const bool ok = BuildCommandFrame(funcId, data, std::span(frame).first(capacity), length);
    EXPECT_EQ(ok, length != 0);
    EXPECT_EQ(ByteList(frame.begin() + capacity, frame.end()), ByteList(4, 0xEE));
    frame.resize(length);
    EXPECT_EQ(ComputeLrc(frame), 0);  // the LRC closes the frame
    return frame;
}

TEST(CommandFrame, BuildsShortAndSettingFramesWithinTheCapacity) {
    EXPECT_EQ(Build(0x18, {0x41, 0x42}, 16), (ByteList{2, 0x53, 0x18, 3, 0x4A}));  // data ignored
    EXPECT_EQ(Build(0x1F, {}, 16), (ByteList{2, 0x52, 0x1F, 3, 0x4C}));
    EXPECT_EQ(Build(0x22, {}, 16), (ByteList{2, 0x52, 0x22, 3, 0x71}));
    EXPECT_EQ(Build(0x70, {0xFF}, 16), (ByteList{2, 0x53, 0x70, 1, 0xFF, 3, 0xDC}));
    EXPECT_EQ(Build(0x10, {0x30}, 16), (ByteList{2, 0x53, 0x10, 1, 0x30, 3, 0x73}));
    EXPECT_EQ(Build(0x40, {}, 16), WithLrc({2, 0x53, 0x40, 0, 3}));
    const ByteList data(255, 0x41);
    EXPECT_EQ(Build(0x34, data, 261), Frame({{0x34, 255}, data}));
    for (auto [id, size, capacity] : {std::tuple(0x34, 255, 260), std::tuple(0x34, 255, 4),
                                      std::tuple(0x1F, 1, 6), std::tuple(0x34, 256, 1024)}) {
        EXPECT_TRUE(Build(id, ByteList(size, 1), capacity).empty()) << size << " " << capacity;
    }
}

TEST(FirmwareVersion, ParsesTheFirstCompleteNumber) {
    // The last text ends at its NUL.
    const std::pair<std::string, double> cases[] = {
        {"V4.30", 4.3},           {"FW 1.2.3", 1.2}, {"A12B3.45", 3.45},
        {"Reader 10.05b", 10.05}, {"1.x 2.5", 2.5},  {"ends in 4.", 0.0},
        {"no number", 0.0},       {"", 0.0},         {std::string("4\0.31", 5), 0.0}};
    for (const auto& [text, version] : cases)
        EXPECT_EQ(ParseVersionNumber(text), version) << text;
}

TEST(FirmwareVersion, ClassifiesTheModelInTransportAndRecord) {
    const std::tuple<std::string, std::uint32_t, bool, double, std::uint32_t> cases[] = {
        {"V4.27 luma", 0, true, 4.27, 10000},       // found at index 6 after upper-casing
        {"LUMA 4.27", 0, true, 4.27, 30000},        // only at the start
        {"xLUMA 4.27 LUMA", 0, true, 4.27, 30000},  // first found at index 1
        {"V4.25 LUMA", 0, true, 4.25, 0},
        {"V3.0", 0x4206, true, 3.0, 0},
        {"V4.30", 0x4206, true, 4.3, 30000},
        {"V4.3", 0x4106, true, 4.3, 30000},
        {"V4.31", 0x4205, true, 4.31, 10000},
        {"V5.0", 0x4105, true, 5.0, 10000},
        {"V4.30 LUMA", 0x1234, true, 4.3, 77},  // unknown product: the class stays
        {"", 0, false, 7.7, 77}};               // no text: nothing changes
    for (const auto& [text, productId, ok, version, modelClass] : cases) {
        ExchangeLog log;
        ScriptedTransport t(log);
        t.Version = text;
        t.ProductId = productId;
        ReaderSettings r;
        t.ModelClass = r.ModelClass = 77;
        t.FirmwareVersionNumber = r.FirmwareVersionNumber = 7.7;
        EXPECT_EQ(ClassifyModel(r, t), ok) << text;
        EXPECT_EQ(std::tie(r.FirmwareVersionNumber, r.ModelClass), std::tie(version, modelClass));
        EXPECT_EQ(std::tie(t.FirmwareVersionNumber, t.ModelClass), std::tie(version, modelClass));
    }
}

TEST(ReaderOperations, ReadAllAndRestoreDefaultsMakeOneShortExchange) {
    ExchangeLog log;
    ScriptedTransport t(log);
    t.Open("reader");
    ReaderSettings r = VariedRecord(4.26);
    const ReaderSettings before = r;
    const ByteList answer = WithLrc({kAck, kStx, 'S', 0x10, 1, '9', kEtx}, 1);
    const ByteList cut(answer.begin(), answer.end() - 2);
    t.Answers = {{false, answer}, {true, cut}, {true, answer}};
    EXPECT_FALSE(ReadAllSettings(r, &t));
    EXPECT_FALSE(ReadAllSettings(r, &t));
    EXPECT_EQ(r, before);  // kept unless the whole answer parses
    EXPECT_TRUE(ReadAllSettings(r, &t));
    ReaderSettings expected = before;
    expected.ResetAllDefaults();
    expected.SecurityLevel = '0';
    expected.TerminalType = '9';
    EXPECT_EQ(r, expected);
    EXPECT_EQ(log.frames, std::vector<ByteList>(3, ByteList{2, 0x52, 0x1F, 3, 0x4C}));
    EXPECT_EQ(log.capacities, std::vector<std::size_t>(3, 1024));

    log = ExchangeLog();
    t.Answers = {{true, {}}, {false, {kAck}}};
    EXPECT_TRUE(RestoreFactoryDefaults(&t));
    EXPECT_FALSE(RestoreFactoryDefaults(&t));
    EXPECT_EQ(log.frames, std::vector<ByteList>(2, ByteList{2, 0x53, 0x18, 3, 0x4A}));
    EXPECT_EQ(log.capacities, std::vector<std::size_t>(2, kWriteAnswerBuffer));

    t.Close();  // no exchange without a ready transport
    EXPECT_FALSE(ReadAllSettings(r, &t));
    EXPECT_FALSE(ReadAllSettings(r, nullptr));
    EXPECT_FALSE(RestoreFactoryDefaults(&t));
    EXPECT_FALSE(RestoreFactoryDefaults(nullptr));
    EXPECT_EQ(log.frames.size(), 2u);
}

TEST(ReaderOperations, WriteResultCodes) {
    ExchangeLog log;
    ScriptedTransport t(log);
    t.Open("reader");
    t.Otherwise = ScriptedTransport::Answer{false, {}};
    t.Answers = {{true, {}}, {true, {kNak}}, {false, {kRefused, kStx}}, {false, {kNak, kRefused}}};
    ReaderSettings general;  // 133 bytes with empty strings
    general.Preamble = Bytes(254, 'p');
    general.Postamble = Bytes(13, 'q');
    EXPECT_EQ(WriteGeneralSettings(general, &t), kWriteOk);
    EXPECT_EQ(log.frames.at(0).size(), 400u);  // the longest frame a write may send
    EXPECT_EQ(log.capacities, std::vector<std::size_t>{kWriteAnswerBuffer});
    general.Postamble.push_back('q');
    EXPECT_EQ(WriteGeneralSettings(general, &t), kWriteTooLong);
    general.Postamble = Bytes(255, 'q');  // cannot be framed at all
    EXPECT_EQ(WriteGeneralSettings(general, &t), kWriteTooLong);

    ReaderSettings dataEdit;  // 18 bytes with empty content
    dataEdit.formulas[0] = Bytes(237, 0x21);
    EXPECT_EQ(WriteDataEditSettings(dataEdit, &t), kWriteTooLong);
    EXPECT_EQ(log.frames.size(), 1u);  // nothing sent for a frame too long
    dataEdit.formulas[0].pop_back();
    EXPECT_EQ(WriteDataEditSettings(dataEdit, &t), kWriteOk);  // the transport's word, not a NAK
    EXPECT_EQ(log.frames.back().size(), 255u);
    EXPECT_EQ(WriteDataEditSettings(dataEdit, &t), kWriteRefused);
    EXPECT_EQ(WriteDataEditSettings(dataEdit, &t), kWriteFailed);
    EXPECT_EQ(WriteGeneralSettings(ReaderSettings(), &t), kWriteFailed);  // no answer
    EXPECT_EQ(log.frames.size(), 5u);

    t.Close();
    EXPECT_EQ(WriteGeneralSettings(ReaderSettings(), &t), kWriteFailed);
    EXPECT_EQ(WriteDataEditSettings(dataEdit, nullptr), kWriteFailed);
    EXPECT_EQ(log.frames.size(), 5u);
}

}  // namespace
}  // namespace ravelfin
