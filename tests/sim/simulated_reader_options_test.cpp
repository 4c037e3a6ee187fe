#include "sim/simulated_reader_options.h"

#include <gtest/gtest.h>

#include "protocol/settings_file.h"
#include "protocol/temp_dir.h"
#include "sim/simulated_environment.h"

namespace ravelfin {
namespace {

TEST(SimulatedReaderOptionText, ReadsTypeAndOptionsAndSaysWhatItCannotUse) {
    SimulatedReaderOptions options;
    std::string error;
    // The type, firmware, security level and file are read by the reader that attaches below.
    ASSERT_TRUE(ParseSimulatedReaderOptions("usb-hid,pid=0x4205,arrive=0,leave=1500,fault=unplug",
                                            options, error))
        << error;
    EXPECT_EQ(options.ProductId, 0x4205);
    EXPECT_EQ(options.ArriveAfterMs, 0);
    EXPECT_EQ(options.LeaveAfterMs, 1500);
    EXPECT_EQ(options.Fault, SimulatedFault::UnpluggedMidAnswer);
    ASSERT_TRUE(ParseSimulatedReaderOptions("usb-hid,firmware=LUMA V4.27", options, error));
    EXPECT_EQ(options.Firmware, "LUMA V4.27");
    EXPECT_EQ(options.ArriveAfterMs, -1);  // nothing left over from the text before
    EXPECT_EQ(options.Fault, SimulatedFault::None);

    const char* bad[][2] = {
        {"usb", "unknown simulated reader type 'usb'"},
        {"usb-hid,color=red", "unknown simulated reader option 'color'"},
        {"usb-hid,firmware", "needs a value"},
        {"rs232,pid=4206", "pid applies to usb-hid and usb-hid-kb readers only"},
        {"usb-hid,pid=42g6", "pid '42g6'"},
        {"usb-hid,security-level=5", "security-level '5'"},
        {"usb-hid,arrive=-5", "arrive '-5' is not a number of milliseconds"},
        {"usb-hid,leave=2s", "leave '2s'"},
        {"usb-hid,arrive=500,leave=400", "leave=400 comes before arrive=500"},
        {"usb-hid,fault=smoke", "fault 'smoke' is not no-answer"},
    };
    for (const auto& [optionText, message] : bad) {
        EXPECT_FALSE(ParseSimulatedReaderOptions(optionText, options, error)) << optionText;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

TEST(SimulatedReaderOptionText, AttachesOnlyAReaderThatParsesAndLoads) {
    TempDir dir;
    const std::string path = dir.File("start.cfs2");
    ReaderSettings saved(kInterfaceRs232);
    saved.FirmwareVersionNumber = 4.3;
    saved.TerminalType = '6';
    saved.Track1Prefix = {'T', '1'};
    ASSERT_TRUE(SaveSettingsFile(saved, path));

    SimulatedEnvironment env;
    std::string error;
    EXPECT_FALSE(env.AddReaderFromOptionText("usb-hid,color=red", error));
    EXPECT_FALSE(env.AddReaderFromOptionText("usb-hid,load=" + path + ".missing", error));
    EXPECT_NE(error.find(".missing"), std::string::npos) << error;
    EXPECT_EQ(env.ReaderCount(), 0u);

    ASSERT_TRUE(
        env.AddReaderFromOptionText("rs232,firmware=V3.90,security-level=2,load=" + path, error))
        << error;
    ASSERT_EQ(env.ReaderCount(), 1u);
    EXPECT_EQ(env.Reader(0).InterfaceType(), kInterfaceRs232);
    EXPECT_EQ(env.Reader(0).Options().Firmware, "V3.90");
    const ReaderSettings& image = env.Reader(0).Settings();
    EXPECT_EQ(image.TerminalType, '6');
    EXPECT_EQ(image.Track1Prefix, saved.Track1Prefix);
    EXPECT_EQ(image.SecurityLevel, '2');
}

}  // namespace
}  // namespace ravelfin
