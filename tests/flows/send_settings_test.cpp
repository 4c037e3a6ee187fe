#include "flows/send_settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flows/flow_fakes.h"

namespace ravelfin::testing {
namespace {

using ::testing::_;
using ::testing::ElementsAre;

TEST(SendToReader, TheDecidingResultPicksTheMessageAndOnlyAnAcceptedSendResets) {
    using A = FakeTransport::Answer;
    const A ack{true, {kAck}}, fail{false, {}}, refuse{false, {kRefused}};
    const struct {
        int type;
        std::uint8_t interval;  // the interval as read is 1
        std::deque<A> answers;
        int result;
        const char* message;
        ReaderReset reset;
    } cases[] = {
        {kInterfaceUsbHidKb, 9, {ack, ack}, kWriteOk, "", ReaderReset::kReopenCloseEditor},
        {kInterfaceUsbHid, 9, {ack, ack}, kWriteOk, "", ReaderReset::kNone},
        {kInterfaceUsbHidKb,
         9,
         {fail},
         kWriteFailed,
         "Could not write configuration settings to Ravelfin device!",
         ReaderReset::kNone},
        {kInterfaceUsbHidKb,
         9,
         {ack, refuse},
         kWriteRefused,
         "Warning! There are unknown FuncIDs in the command.",
         ReaderReset::kNone},
        {kInterfaceUsbHidKb,
         9,
         {refuse, ack},
         kWriteRefused,
         "Warning! There are unknown FuncIDs in the command.",
         ReaderReset::kNone},
    };
    for (const auto& c : cases) {
        for (const std::uint32_t pending : {0u, 1u}) {
            Rig rig(c.type);
            rig.reader.Answers = c.answers;
            ReaderSettings settings(c.type);
            settings.KbPollIntervalRead = 1;
            settings.KbPollInterval = c.interval;
            settings.ReconnectPending = pending;
            const SendOutcome outcome = SendToReader(rig.Context(), settings);
            EXPECT_EQ(outcome.Result, c.result);
            if (*c.message) {
                EXPECT_THAT(rig.Messages(), ElementsAre(c.message));
            }
            const ReaderReset reset =
                pending && c.result == kWriteOk ? ReaderReset::kReopen : c.reset;
            EXPECT_EQ(outcome.Reset, reset);
            // The wait follows the message and the close; a pending reset not acted on stays.
            EXPECT_EQ(rig.rec.trace.back(), reset != ReaderReset::kNone ? "wait 8000" : "close");
            EXPECT_EQ(settings.ReconnectPending, reset == ReaderReset::kReopen ? 0u : pending);
        }
    }
}

TEST(SendToReader, ATooLongFormulaFrameIsNeverSent) {
    Rig rig;
    ReaderSettings settings(kInterfaceUsbHid);
    settings.formulas[0] = Bytes(200, '1');
    settings.formulas[2] = Bytes(50, '2');
    EXPECT_EQ(SendToReader(rig.Context(), settings).Result, kWriteTooLong);
    EXPECT_TRUE(rig.rec.frames.empty());
    EXPECT_THAT(rig.Messages(), ElementsAre("The command is too long, maybe there are too many "
                                            "fields in the formulas, please check it!"));
}

TEST(SendToReader, WritesForTheReadersFirmwareAndReadsASecureReadersStateBack) {
    Rig rig;
    rig.reader.FirmwareVersionNumber = 4.3;
    rig.reader.ModelClass = 30000;
    // The encryption answer is cut short: its value must be 0, not what lies past it.
    rig.reader.Answers = {{true, {kAck}},
                          {true, {kAck}},
                          {true, {kAck, kStx, 0x7E, 1, '3'}},
                          {false, {kAck, kStx, 0x4C, 1}}};
    ReaderSettings settings(kInterfaceUsbHid);
    SecurityState seen{0xEE, 0xEE};
    const auto onSecurity = [&](const SecurityState& state) {
        seen = state;
        rig.rec.trace.push_back("security");
    };
    SendToReader(rig.Context(2), settings, onSecurity);
    EXPECT_EQ(seen.Level, '3');
    EXPECT_EQ(seen.Encryption, 0);
    EXPECT_THAT(rig.rec.trace,
                ElementsAre("open 2", "send FA", "send 10", "send 7E", "send 4C", "security",
                            "msg The configuration settings have been written to "
                            "Ravelfin device successfully!",
                            "close"));
    EXPECT_EQ(rig.rec.frames[1][5], 0xAE);  // the beep item only 4.3 firmware knows
    EXPECT_THAT(rig.rec.frames,
                ElementsAre(_, _, Bytes{2, 0x52, 0x7E, 3, 0x2D}, Bytes{2, 0x52, 0x4C, 3, 0x1F}));
    Rig older;  // firmware without security settings
    older.reader.FirmwareVersionNumber = 4.25;
    older.reader.ModelClass = 30000;
    SendToReader(older.Context(), settings, onSecurity);
    EXPECT_EQ(older.rec.frames.size(), 2u);
}

}  // namespace
}  // namespace ravelfin::testing
