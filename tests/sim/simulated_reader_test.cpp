#include "sim/simulated_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

#include "protocol/settings_encoder.h"
#include "protocol/settings_parser.h"
#include "protocol/test_records.h"
#include "sim_test_support.h"

namespace ravelfin {
namespace {

ReaderSettings ReadBack(SimulatedReader& reader) {
    const Bytes answer = reader.Answer(CommandFrame(kFuncReadAll));
    ReaderSettings parsed(reader.InterfaceType());
    EXPECT_GE(answer.size(), 2u);
    EXPECT_EQ(answer[0], kAck);
    EXPECT_TRUE(ParseSettings(answer, parsed));
    return parsed;
}

TEST(SimulatedReader, RefusesFuncIdsItsFirmwareDoesNotKnowAndThenStoresNothing) {
    const std::tuple<const char*, std::uint8_t, std::uint8_t> cases[] = {
        {"V4.30", 0xAE, kAck},     {"V4.31", 0xAE, kRefused}, {"V4.20", 0xAE, kRefused},
        {"V3.32", 0xFD, kRefused}, {"V3.33", 0xFD, kAck},     {"V4.25", 0x49, kRefused},
        {"V4.25", 0x4C, kRefused}, {"V4.25", 0x7E, kRefused}, {"V4.26", 0x4B, kAck},
        {"V4.26", 0x7E, kAck},     {"V4.30", 0x99, kRefused}, {"V4.30", 0x4E, kRefused},
    };
    for (const auto& [firmware, funcId, expected] : cases) {
        SCOPED_TRACE(std::string(firmware) + " FuncID " + std::to_string(funcId));
        SimulatedReader reader(ReaderOptions(kInterfaceUsbHid, firmware));
        Bytes items{0x10, 1, '5', funcId, 1, '2'};
        if (funcId == 0xFD)
            items = {0x10, 1, '5', funcId, 0};  // an item without data
        EXPECT_EQ(reader.Answer(SetFrame(items)), Bytes{expected});
        EXPECT_EQ(reader.Settings().TerminalType, expected == kAck ? '5' : '0');
    }
}

TEST(SimulatedReader, SentFramesComeBackInTheReadAllAnswerAndOnlyReplaceWhatTheyCarry) {
    SimulatedReader reader(ReaderOptions(kInterfaceUsbHid));
    ReaderSettings record(kInterfaceUsbHid);
    record.FirmwareVersionNumber = 4.3;
    record.TerminalType = '5';
    record.BeepMode = 6;
    record.Track3Suffix = BytesFromText("END");
    record.PrePan = 6;
    record.mode = '1';
    record.addedFields = {BytesFromText("AB")};
    record.custom.fields = {{0xF2, 0x40, 0x01, 0x02, 'X', 'Y'}};
    record.formulas[1] = {0x21, 0x42};

    EXPECT_EQ(reader.Answer(Encoded(EncodeDataEditFrame, record)), Bytes{kAck});
    EXPECT_EQ(reader.Answer(Encoded(EncodeGeneralSettings, record)), Bytes{kAck});
    // A second data-editing frame replaces the first instead of adding to it.
    EXPECT_EQ(reader.Answer(Encoded(EncodeDataEditFrame, record)), Bytes{kAck});
    // A one-item frame leaves every other setting alone.
    EXPECT_EQ(reader.Answer(SetFrame({0x11, 1, '4'})), Bytes{kAck});

    record.FirmwareVersionNumber = 0.0;
    record.BeepVolume = '4';
    record.SecurityLevel = '1';  // not in the frames: the reader keeps its own
    record.SerialNumber = reader.Settings().SerialNumber;
    record.KbPollIntervalRead = record.KbPollInterval;
    EXPECT_EQ(reader.Settings(), record);
    // Firmware 4.3 reports the beep mode in place of the beep volume.
    record.BeepVolume = '2';
    const ReaderSettings parsed = ReadBack(reader);
    EXPECT_EQ(parsed, record);
    EXPECT_EQ(TextFromBytes(Bytes(parsed.SerialNumber.begin() + 1, parsed.SerialNumber.end())),
              "SN00000001");

    // Older firmware knows no security items, so none are reported.
    SimulatedReader old(ReaderOptions(kInterfaceUsbHid, "V4.25"));
    EXPECT_EQ(ReadBack(old).SecurityLevel, '0');
}

TEST(SimulatedReader, AnswersShortCommandsAndSingleReadsAndNaksDamagedFrames) {
    SimulatedReader reader(ReaderOptions(kInterfaceUsbHid));
    reader.Answer(SetFrame({0x10, 1, '6', 0x7E, 1, '3', 0x4C, 1, '2'}));
    EXPECT_EQ(reader.Answer(ReadFrame(0x7E)), (Bytes{kAck, kStx, 0x7E, 1, '3', kEtx, 0x4D}));
    EXPECT_EQ(reader.Answer(ReadFrame(0x4C)).at(4), '2');
    EXPECT_EQ(reader.Answer(ReadFrame(0x10)), Bytes{kRefused});
    EXPECT_EQ(reader.Answer(CommandFrame(kFuncReadVersion)),
              (Bytes{kAck, kStx, 'V', '4', '.', '3', '0', kEtx, 0x4E}));
    EXPECT_EQ(SimulatedReader(ReaderOptions(kInterfaceUsbHid, "V4.20")).Answer(ReadFrame(0x7E)),
              Bytes{kRefused});

    // A wrong LRC, a Len past the end of the frame, an unknown letter: nothing changes.
    Bytes wrongLrc = SetFrame({0x10, 1, '5'});
    wrongLrc.back() ^= 1;
    for (const Bytes& damaged :
         {wrongLrc, SetFrame({0x10, 1, '5', 0xD2, 9, 1}), Bytes{kStx, 'X', 0x10, kEtx, 0x49}})
        EXPECT_EQ(reader.Answer(damaged), Bytes{kNak});
    EXPECT_EQ(reader.Settings().TerminalType, '6');

    // Factory defaults undo the settings but keep the security level and serial number.
    EXPECT_EQ(reader.Answer(CommandFrame(kFuncSetDefaults)), Bytes{kAck});
    EXPECT_EQ(reader.Settings().TerminalType, '0');
    EXPECT_EQ(reader.Settings().SecurityLevel, '3');
    EXPECT_EQ(reader.Settings().Encryption, '1');

    EXPECT_FALSE(reader.InBootLoader());
    EXPECT_EQ(reader.Answer(SetFrame({0x70, 1, 0xFF})), Bytes{kAck});
    EXPECT_TRUE(reader.InBootLoader());
}

}  // namespace
}  // namespace ravelfin
