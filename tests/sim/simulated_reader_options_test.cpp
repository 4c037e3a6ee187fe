#include "sim/simulated_reader_options.h"

#include <gtest/gtest.h>

#include "sim/simulated_environment.h"

namespace ravelfin {
namespace {

TEST(SimulatedReaderOptionText, ReadsTypeAndOptionsAndSaysWhatItCannotUse) {
    SimulatedReaderOptions options;
    std::string error;
    for (const auto& [optionText, type] : {std::pair{"rs232", kInterfaceRs232},
                                           {"usb-rs232", kInterfaceUsbRs232},
                                           {"usb-hid-kb", kInterfaceUsbHidKb}}) {
        ASSERT_TRUE(ParseSimulatedReaderOptions(optionText, options, error)) << error;
        EXPECT_EQ(options.InterfaceType, type);
    }

    ASSERT_TRUE(ParseSimulatedReaderOptions(
        "usb-hid,firmware=LUMA V4.27,pid=0x4205,security-level=3,load=/tmp/a b.cfs2", options,
        error))
        << error;
    EXPECT_EQ(options.InterfaceType, kInterfaceUsbHid);
    EXPECT_EQ(options.Firmware, "LUMA V4.27");
    EXPECT_EQ(options.ProductId, 0x4205);
    EXPECT_EQ(options.SecurityLevel, '3');
    EXPECT_EQ(options.LoadFile, "/tmp/a b.cfs2");
    EXPECT_EQ(options.ArriveAfterMs, -1);
    EXPECT_EQ(options.LeaveAfterMs, -1);

    ASSERT_TRUE(
        ParseSimulatedReaderOptions("rs232,arrive=0,leave=1500,fault=unplug", options, error))
        << error;
    EXPECT_EQ(options.ArriveAfterMs, 0);
    EXPECT_EQ(options.LeaveAfterMs, 1500);
    EXPECT_EQ(options.Fault, SimulatedFault::UnpluggedMidAnswer);
    ASSERT_TRUE(ParseSimulatedReaderOptions("usb-hid,leave=10,fault=wrong-lrc", options, error));
    EXPECT_EQ(options.Fault, SimulatedFault::WrongLrc);

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
    SimulatedEnvironment env;
    std::string error;
    EXPECT_FALSE(env.AddReaderFromOptionText("usb-hid,color=red", error));
    EXPECT_NE(error.find("unknown simulated reader option 'color'"), std::string::npos) << error;
    EXPECT_FALSE(env.AddReaderFromOptionText("usb-hid,load=/nonexistent/x.cfs2", error));
    EXPECT_NE(error.find("cannot load the simulated reader's settings"), std::string::npos)
        << error;
    EXPECT_EQ(env.ReaderCount(), 0u);

    ASSERT_TRUE(env.AddReaderFromOptionText("usb-rs232,firmware=V3.90", error)) << error;
    ASSERT_EQ(env.ReaderCount(), 1u);
    EXPECT_EQ(env.Reader(0).InterfaceType(), kInterfaceUsbRs232);
    EXPECT_EQ(env.Reader(0).Options().Firmware, "V3.90");
}

}  // namespace
}  // namespace ravelfin
