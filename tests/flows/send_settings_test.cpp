#include "flows/send_settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "flows/factory_defaults.h"
#include "flows/flow_fakes.h"
#include "flows/settings_file_flow.h"
#include "protocol/settings_file.h"
#include "protocol/temp_dir.h"

namespace ravelfin::testing {
namespace {

using ::testing::_;
using ::testing::ElementsAre;
using enum ReaderReset;

TEST(SendToReader, TheDecidingResultPicksTheMessageAndOnlyAnAcceptedSendResets) {
    using A = ScriptedTransport::Answer;
    const A ack{true, {kAck}}, fail{false, {}}, refuse{false, {kRefused}};
    const struct {
        int type;
        std::deque<A> answers;  // to the data-editing frame, then to the general one
        int result;
        const char* message;
        ReaderReset reset;  // for a new polling interval, with no reset pending
    } cases[] = {{kInterfaceUsbHidKb, {ack, ack}, kWriteOk, kWrittenText, kReopenCloseEditor},
                 {kInterfaceUsbHid, {ack, ack}, kWriteOk, kWrittenText, kNone},
                 {kInterfaceUsbHidKb, {fail}, kWriteFailed, kWriteFailedText, kNone},
                 {kInterfaceUsbHidKb, {ack, refuse}, kWriteRefused, kUnknownFuncIdsText, kNone},
                 // The general frame carries what restarts the reader: taken, it resets.
                 {kInterfaceUsbHidKb,
                  {refuse, ack},
                  kWriteRefused,
                  kUnknownFuncIdsText,
                  kReopenCloseEditor}};
    for (const auto& c : cases) {
        for (const std::uint32_t pending : {0u, 1u}) {
            Rig rig(c.type);
            rig.reader.Answers = c.answers;
            ReaderSettings settings(c.type);
            settings.KbPollIntervalRead = 1;
            settings.KbPollInterval = 9;
            settings.ReconnectPending = pending;
            const SendOutcome outcome = SendToReader(rig.Context(), settings);
            EXPECT_EQ(outcome.Result, c.result);
            EXPECT_THAT(rig.messages, ElementsAre(c.message));
            const bool generalTaken = c.answers.size() == 2 && c.answers.back().ok;
            const ReaderReset reset = pending && generalTaken ? kReopen : c.reset;
            EXPECT_EQ(outcome.Reset, reset);
            // The wait follows the message and the close; a pending reset not acted on stays.
            EXPECT_EQ(rig.rec.trace.back(), reset != kNone ? "wait 8000" : "close");
            EXPECT_EQ(settings.ReconnectPending, reset == kReopen ? 0u : pending);
        }
    }
    Rig tooLong;  // a frame over the limit is never sent
    ReaderSettings settings(kInterfaceUsbHid);
    settings.formulas[0] = Bytes(200, '1');
    settings.formulas[2] = Bytes(50, '2');
    EXPECT_EQ(SendToReader(tooLong.Context(), settings).Result, kWriteTooLong);
    EXPECT_TRUE(tooLong.rec.frames.empty());
    EXPECT_THAT(tooLong.messages, ElementsAre(kTooLongText));
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
    EXPECT_THAT(rig.rec.trace, ElementsAre("open 2", "send FA", "send 10", "send 7E", "send 4C",
                                           "security", kWrittenText, "close"));
    EXPECT_EQ(rig.rec.frames[1][5], 0xAE);  // the beep item only 4.3 firmware knows
    EXPECT_THAT(rig.rec.frames,
                ElementsAre(_, _, Bytes{2, 0x52, 0x7E, 3, 0x2D}, Bytes{2, 0x52, 0x4C, 3, 0x1F}));
    // Neither firmware 4.25 nor a reader of another class has security settings.
    for (const auto& [version, modelClass] : {std::pair{4.25, 30000u}, {4.3, 10000u}}) {
        Rig other;
        other.reader.FirmwareVersionNumber = version;
        other.reader.ModelClass = modelClass;
        SendToReader(other.Context(), settings, onSecurity);
        EXPECT_EQ(other.rec.frames.size(), 2u);
    }
}

TEST(SettingsFileFlow, SavesForTheReadersFirmwareAndALoadedFormatOrIntervalReopensIt) {
    TempDir dir;
    Rig saver;
    saver.reader.FirmwareVersionNumber = 4.3;
    ReaderSettings saved(kInterfaceUsbHid), loaded(kInterfaceUsbHid);
    saved.BeepMode = 7;  // only a 4.3 file carries the mode
    loaded.FirmwareVersionNumber = 4.3;
    EXPECT_TRUE(SaveToFile(saved, &saver.reader, dir.File("a.cfs2"), Editor::kBasic, saver));
    ASSERT_TRUE(LoadSettingsFile(loaded, dir.File("a.cfs2")));
    EXPECT_EQ(loaded.BeepMode, 7);
    EXPECT_FALSE(SaveToFile(saved, nullptr, dir.File("none/a"), Editor::kAdvanced, saver));
    EXPECT_THAT(saver.messages, ElementsAre(kBasicSavedText, kAdvancedSaveFailedText));

    ReaderSettings file(kInterfaceUsbHidKb);
    file.KbPollInterval = 9;
    ASSERT_TRUE(SaveSettingsFile(file, dir.File("interval.cfs2")));
    file.HidFormat = '1';
    ASSERT_TRUE(SaveSettingsFile(file, dir.File("format.cfs2")));
    for (const bool formatChanges : {false, true}) {
        Rig rig(kInterfaceUsbHidKb);
        ReaderSettings settings(kInterfaceUsbHidKb);
        settings.HidFormat = '0';
        settings.KbPollInterval = settings.KbPollIntervalRead = 1;  // as read from the reader
        ASSERT_TRUE(LoadFromFile(settings,
                                 dir.File(formatChanges ? "format.cfs2" : "interval.cfs2"), rig,
                                 rig.Refresh()));
        EXPECT_THAT(rig.rec.trace, ElementsAre("refresh", kLoadedText));
        EXPECT_EQ(settings.KbPollInterval, 9);
        EXPECT_EQ(settings.ReconnectPending, formatChanges ? 1u : 0u);
        EXPECT_EQ(SendToReader(rig.Context(), settings).Reset,
                  formatChanges ? kReopen : kReopenCloseEditor);
    }
    // A file that does not load changes nothing at all.
    std::ofstream(dir.File("bad.cfs2"), std::ios::binary) << "KORVEXMSRCFG1999\x02S";
    Rig rig;
    ReaderSettings settings(kInterfaceUsbHid);
    settings.HidFormat = '1';
    const ReaderSettings before = settings;
    EXPECT_FALSE(LoadFromFile(settings, dir.File("bad.cfs2"), rig, rig.Refresh()));
    EXPECT_THAT(rig.rec.trace, ElementsAre(kLoadFailedText));
    EXPECT_EQ(settings, before);
}

TEST(RestoreDefaults, RestoresThenReadsBackAfterAnyReset) {
    // Only a keyboard reader resets, and only when its polling interval was off the default 1.
    for (const auto& [type, intervalRead, resets] :
         {std::tuple<int, int, bool>{kInterfaceUsbHidKb, 1, false},
          {kInterfaceUsbHidKb, 5, true},
          {kInterfaceUsbHid, 5, false}}) {
        Rig rig(type);
        rig.reader.Answers = {{true, {kAck}}, {true, SettingsAnswer({0x14, 1, 1})}};
        ReaderSettings settings(type);
        settings.KbPollIntervalRead = static_cast<std::uint8_t>(intervalRead);
        const DefaultsOutcome outcome = RestoreDefaults(rig.Context(1), settings, rig.Refresh());
        EXPECT_TRUE(outcome.Restored && outcome.Reread);
        EXPECT_EQ(settings.KbPollIntervalRead, 1);
        EXPECT_EQ(outcome.Reset, resets ? kReopenCloseEditor : kNone);
        std::vector<std::string> expected{"open 1", "wait 700", "send 18", "close",
                                          kDefaultsSetText};
        if (resets)
            expected.push_back("wait 8000");
        expected.insert(expected.end(), {"wait 500", "open 1", "send 1F", "refresh", "close"});
        EXPECT_EQ(rig.rec.trace, expected);
    }
}

TEST(RestoreDefaults, EveryFailureIsToldClosesTheDeviceAndKeepsTheRecord) {
    const struct {
        int opensLeft;
        std::deque<ScriptedTransport::Answer> answers;
        const char* message;
    } cases[] = {
        {0, {}, kOpenFailedText},
        {9, {{false, {}}}, kDefaultsFailedText},
        {1, {}, kReopenForReadFailedText},
        {9,
         {{true, {kAck}}, {true, {kAck, kStx, 0x14, 1, 7, kEtx, 0}}},
         kRereadFailedText},  // bad LRC
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.reader.OpensLeft = c.opensLeft;
        rig.reader.FailedOpenStaysOpen = true;
        rig.reader.Answers = c.answers;
        ReaderSettings settings(kInterfaceUsbHid);
        const ReaderSettings before = settings;
        EXPECT_FALSE(RestoreDefaults(rig.Context(), settings, rig.Refresh()).Reread);
        EXPECT_EQ(settings, before);
        EXPECT_EQ(rig.messages.back(), c.message);
        EXPECT_EQ(rig.Count("refresh"), 0);
        EXPECT_FALSE(rig.reader.IsReady());
    }
}

}  // namespace
}  // namespace ravelfin::testing
