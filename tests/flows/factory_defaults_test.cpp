#include "flows/factory_defaults.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flows/flow_fakes.h"

namespace ravelfin::testing {
namespace {

TEST(RestoreDefaults, RestoresThenReadsBackAfterAResetOfAKeyboardReaderOffItsDefault) {
    for (const std::uint8_t intervalRead : {1, 5}) {
        Rig rig(kInterfaceUsbHidKb);
        rig.reader.Answers = {{true, {kAck}}, {true, SettingsAnswer({0x14, 1, 1})}};
        ReaderSettings settings(kInterfaceUsbHidKb);
        settings.KbPollIntervalRead = intervalRead;
        const DefaultsOutcome outcome = RestoreDefaults(rig.Context(1), settings, rig.Refresh());
        EXPECT_TRUE(outcome.Restored && outcome.Reread);
        EXPECT_EQ(settings.KbPollIntervalRead, 1);
        const bool resets = intervalRead != 1;
        EXPECT_EQ(outcome.Reset, resets ? ReaderReset::kReopenCloseEditor : ReaderReset::kNone);
        std::vector<std::string> expected{
            "open 1", "wait 700", "send 18", "close",
            "msg Set default settings to Ravelfin device successfully!"};
        if (resets)
            expected.push_back("wait 8000");
        expected.insert(expected.end(), {"wait 500", "open 1", "send 1F", "refresh", "close"});
        EXPECT_EQ(rig.rec.trace, expected);
    }
}

TEST(RestoreDefaults, EveryFailureIsToldClosesTheDeviceAndKeepsTheRecord) {
    const struct {
        int opensLeft;
        std::deque<FakeTransport::Answer> answers;
        std::string message;
    } cases[] = {
        {0, {}, "Could not open this Ravelfin device! or It is not Ravelfin device"},
        {9, {{false, {}}}, "Fail to set default settings to Ravelfin device!"},
        {1, {}, "Fail to open deivce to read setting again. Please try it again"},
        {9,
         {{true, {kAck}}, {true, {kAck, kStx, 0x14, 1, 7, kEtx, 0}}},  // wrong LRC
         "Cannot read setting from Ravelfin device"},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.reader.OpensLeft = c.opensLeft;
        rig.reader.Answers = c.answers;
        ReaderSettings settings(kInterfaceUsbHid);
        const ReaderSettings before = settings;
        EXPECT_FALSE(RestoreDefaults(rig.Context(), settings, rig.Refresh()).Reread);
        EXPECT_EQ(settings, before);
        EXPECT_EQ(rig.Messages().back(), c.message);
        EXPECT_EQ(rig.Count("refresh"), 0);
        EXPECT_FALSE(rig.reader.IsReady());
    }
}

}  // namespace
}  // namespace ravelfin::testing
