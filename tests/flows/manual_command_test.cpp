#include "flows/manual_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flows/boot_loader.h"
#include "flows/flow_fakes.h"

namespace ravelfin::testing {
namespace {

using ::testing::ElementsAre;

std::string Repeat(const std::string& item, std::size_t times) {
    std::string text;
    while (times--)
        text += item;
    return text;
}

TEST(ManualCommand, ParsesTheEscapeNotation) {
    const Bytes version{0x02, 0x52, 0x22, 0x03};
    const std::pair<std::string, Bytes> valid[] = {{R"(\x2\x52\x22\x3)", version},
                                                   {R"(\X02\x52\x22\x03)", version},
                                                   {R"(AB\x2\x52\x22\x3)", version},
                                                   {R"(X2\x52\x22\x3)", {0x52, 0x22, 0x03}},
                                                   {"X2", {0x02}},
                                                   {R"(\xG2\xfF\xa)", {0x02, 0xFF, 0x0A}},
                                                   {Repeat(R"(\x1)", 513), Bytes(513, 1)}};
    Bytes parsed;
    for (const auto& [text, bytes] : valid) {
        EXPECT_EQ(ParseCommandText(text, kMaxManualCommand, parsed), CommandTextStatus::kOk);
        EXPECT_EQ(parsed, bytes) << text;
    }
    for (const std::string text : {R"(\x2\x123)", R"(\x)", R"(\x2\\x3)", R"(\x2\)", R"(\y2)", "AB"})
        EXPECT_EQ(ParseCommandText(text, kMaxManualCommand, parsed), CommandTextStatus::kInvalid);
    EXPECT_EQ(ParseCommandText(Repeat(R"(\x1)", 514), kMaxManualCommand, parsed),
              CommandTextStatus::kTooLong);
}

TEST(ManualCommand, SendsOnlyFramedTextsAndLogsWhatWentOutAndCameBack) {
    Rig rig;
    ReaderSettings settings(kInterfaceUsbHid);
    ManualCommand page;
    const auto send = [&](const std::string& text) {
        return page.Send(text, rig.Context(3), &settings, rig.Refresh());
    };
    for (const auto& text : std::vector<std::string>{" \t ", "\\x2\\x123", "\\x52\\x3", "\\x2\\x52",
                                                     Repeat("\\x2", 600)})
        EXPECT_EQ(send(text), ManualCommandResult::kNotSent);
    EXPECT_EQ(page.CommandCount(), 4);  // all but the empty one
    EXPECT_EQ(page.Log(), "");
    rig.reader.OpensLeft = 0;
    EXPECT_EQ(send("\\x2\\x52\\x1F\\x3"), ManualCommandResult::kOpenFailed);
    // Only the entry numbered 1 starts without a line break, even as the log's first.
    EXPECT_EQ(page.Log(), "\r\n5) Send Command:  \\x2\\x52\\x1F\\x3\\x4c ......\r\n");
    EXPECT_TRUE(rig.rec.frames.empty());

    page.Clear();
    rig.reader.OpensLeft = INT_MAX;
    rig.reader.Answers = {{true, {0x06, 0x02, 0x41, 0x03}},
                          {true, {kAck}},
                          {true, SettingsAnswer({0x10, 1, '2'})},
                          {false, {kRefused}},
                          {false, {}}};
    EXPECT_EQ(send(" \\x2\\x52\t\\x22 \\x3"), ManualCommandResult::kDone);
    EXPECT_EQ(send("\\x2\\x53\\x18\\x3"), ManualCommandResult::kDone);
    EXPECT_EQ(settings.TerminalType, '2');
    EXPECT_EQ(send("\\x2\\x53\\x99\\x3"), ManualCommandResult::kUnknownCommand);
    EXPECT_EQ(send("\\x2\\x53\\x18\\x3"), ManualCommandResult::kFailed);
    EXPECT_EQ(page.Log(),
              "1) Send Command:  \\x2\\x52\\x22\\x3\\x71 ......\r\n"
              "Return From MSR (4Bytes):  0x06 0x02 0x41 0x03 \r\n"
              "\r\n2) Send Command:  \\x2\\x53\\x18\\x3\\x4a ......\r\n"
              "Return From MSR (1Bytes):  0x06 \r\n"
              "\r\n3) Send Command:  \\x2\\x53\\x99\\x3\\xcb ......\r\n"
              "Return From MSR (1Bytes):  0x16 \r\n"
              "\r\n4) Send Command:  \\x2\\x53\\x18\\x3\\x4a ......\r\n\r\n");
    EXPECT_EQ(rig.rec.frames.at(0), (Bytes{0x02, 0x52, 0x22, 0x03, 0x71}));
    EXPECT_EQ(rig.Count("wait 700"), 1);  // rereads after the accepted set only
    EXPECT_EQ(rig.Count("refresh"), 1);
    EXPECT_THAT(rig.messages,
                ElementsAre(kEmptyCommandText, kInvalidCommandText, kNotFramedText, kNotFramedText,
                            kOpenFailedText, kUnknownCommandText, kCommandFailedText));
}

TEST(BootLoader, SendsTheSwitchFrameAndSaysWhetherItWasTaken) {
    for (const bool accepted : {true, false}) {
        Rig rig;
        if (!accepted)
            rig.reader.Answers = {{false, {kNak}}};
        EXPECT_EQ(SetBootLoaderMode(rig.Context(4)), accepted);
        EXPECT_THAT(rig.rec.frames, ElementsAre(Bytes{0x02, 0x53, 0x70, 0x01, 0xFF, 0x03, 0xDC}));
        EXPECT_THAT(rig.rec.trace,
                    ElementsAre("open 4", "send 70",
                                accepted ? kBootLoaderSetText : kBootLoaderFailedText, "close"));
    }
}

}  // namespace
}  // namespace ravelfin::testing
