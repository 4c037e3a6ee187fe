#include "protocol/reader_operations.h"

#include <gtest/gtest.h>

#include "fake_transport.h"
#include "protocol/settings_encoder.h"
#include "test_records.h"

namespace ravelfin {
namespace {

const ByteList kReadAllFrame = {2, 0x52, 0x1F, 3, 0x4C};

TEST(ReaderOperations, ReadAllSettingsKeepsTheRecordUnlessTheAnswerParses) {
    FakeTransport t;
    ReaderSettings r = VariedRecord(4.26);
    const ReaderSettings before = r;
    const ByteList answer = WithLrc({kAck, kStx, 'S', 0x10, 1, '9', kEtx}, 1);
    ByteList wrongLrc = answer;
    wrongLrc.back() ^= 1;

    t.Script(false, answer);
    EXPECT_FALSE(ReadAllSettings(r, &t));
    t.Script(true, wrongLrc);
    EXPECT_FALSE(ReadAllSettings(r, &t));
    t.Script(true, {kAck, 0x10, 1, '9'});
    EXPECT_FALSE(ReadAllSettings(r, &t));
    EXPECT_EQ(r, before);

    t.Script(true, answer);
    EXPECT_TRUE(ReadAllSettings(r, &t));
    ReaderSettings expected = before;
    expected.ResetAllDefaults();
    expected.SecurityLevel = '0';
    expected.TerminalType = '9';
    EXPECT_EQ(r, expected);
    EXPECT_EQ(t.sent, std::vector<ByteList>(4, kReadAllFrame));
    EXPECT_EQ(t.capacities, std::vector<std::size_t>(4, 1024));

    t.ready = false;
    EXPECT_FALSE(ReadAllSettings(r, &t));
    EXPECT_FALSE(ReadAllSettings(r, nullptr));
    EXPECT_EQ(t.sent.size(), 4u);
}

TEST(ReaderOperations, WriteResultCodes) {
    FakeTransport t;
    ReaderSettings general;  // 133 bytes with empty strings
    general.Preamble = Bytes(254, 'p');
    general.Postamble = Bytes(13, 'q');
    ByteList expected(1024);
    std::size_t length = 0;
    ASSERT_TRUE(EncodeGeneralSettings(general, expected, length));
    expected.resize(length);

    t.Script(true);
    EXPECT_EQ(WriteGeneralSettings(general, &t), kWriteOk);
    EXPECT_EQ(t.sent, std::vector<ByteList>{expected});
    EXPECT_EQ(t.sent[0].size(), 400u);
    EXPECT_EQ(t.capacities[0], 64u);
    general.Postamble.push_back('q');
    EXPECT_EQ(WriteGeneralSettings(general, &t), kWriteTooLong);
    general.Postamble = Bytes(255, 'q');  // cannot be framed at all
    EXPECT_EQ(WriteGeneralSettings(general, &t), kWriteTooLong);
    EXPECT_EQ(t.sent.size(), 1u);

    ReaderSettings dataEdit;  // 18 bytes with empty content
    dataEdit.formulas[0] = Bytes(237, 0x21);
    EXPECT_EQ(WriteDataEditSettings(dataEdit, &t), kWriteTooLong);
    EXPECT_EQ(t.sent.size(), 1u);
    dataEdit.formulas[0].pop_back();
    t.Script(true, {kNak});  // success is the transport's word, whatever the answer
    EXPECT_EQ(WriteDataEditSettings(dataEdit, &t), kWriteOk);
    EXPECT_EQ(t.sent.back().size(), 255u);

    t.Script(false, {kRefused, kStx});
    EXPECT_EQ(WriteDataEditSettings(dataEdit, &t), kWriteRefused);
    t.Script(false, {kNak, kRefused});
    EXPECT_EQ(WriteDataEditSettings(dataEdit, &t), kWriteFailed);
    t.Script(false);
    EXPECT_EQ(WriteGeneralSettings(ReaderSettings(), &t), kWriteFailed);
    EXPECT_EQ(t.sent.size(), 5u);

    t.ready = false;
    EXPECT_EQ(WriteGeneralSettings(general, &t), kWriteFailed);
    EXPECT_EQ(WriteDataEditSettings(dataEdit, nullptr), kWriteFailed);
    EXPECT_EQ(t.sent.size(), 5u);
}

TEST(ReaderOperations, RestoreFactoryDefaultsIsOneShortExchange) {
    FakeTransport t;
    t.Script(true);
    EXPECT_TRUE(RestoreFactoryDefaults(&t));
    t.Script(false, {kAck});
    EXPECT_FALSE(RestoreFactoryDefaults(&t));
    EXPECT_EQ(t.sent, std::vector<ByteList>(2, ByteList{2, 0x53, 0x18, 3, 0x4A}));
    EXPECT_EQ(t.capacities, std::vector<std::size_t>(2, 64));
    EXPECT_FALSE(RestoreFactoryDefaults(nullptr));
}

}  // namespace
}  // namespace ravelfin
