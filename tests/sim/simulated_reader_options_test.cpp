#include "sim/simulated_reader_options.h"

#include <gtest/gtest.h>

#include "sim/simulated_reader.h"

namespace ravelfin {
namespace {

TEST(SimulatedReaderSpec, ReadsTypeAndOptionsWithTheirDefaults) {
    SimulatedReaderOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimulatedReaderSpec("usb-hid-kb", options, error)) << error;
    EXPECT_EQ(options.InterfaceType, kInterfaceUsbHidKb);
    EXPECT_EQ(options.Firmware, "V4.30");
    EXPECT_EQ(options.SecurityLevel, '1');
    EXPECT_EQ(SimulatedReader(options).ProductId(), 0x4106);

    ASSERT_TRUE(ParseSimulatedReaderSpec("usb-hid", options, error)) << error;
    EXPECT_EQ(SimulatedReader(options).ProductId(), 0x4206);

    ASSERT_TRUE(ParseSimulatedReaderSpec(
        "usb-hid,firmware=LUMA V4.27,pid=0x4205,security-level=3,load=/tmp/a b.cfs2", options,
        error))
        << error;
    EXPECT_EQ(options.Firmware, "LUMA V4.27");
    EXPECT_EQ(options.ProductId, 0x4205);
    EXPECT_EQ(options.SecurityLevel, '3');
    EXPECT_EQ(options.LoadFile, "/tmp/a b.cfs2");

    ASSERT_TRUE(ParseSimulatedReaderSpec("usb-rs232,firmware=V3.10", options, error));
    EXPECT_EQ(options.InterfaceType, kInterfaceUsbRs232);
    EXPECT_EQ(options.Firmware, "V3.10");
    EXPECT_TRUE(options.LoadFile.empty());
    ASSERT_TRUE(ParseSimulatedReaderSpec("rs232", options, error));
    EXPECT_EQ(options.InterfaceType, kInterfaceRs232);
}

TEST(SimulatedReaderSpec, RejectsWhatItCannotUseAndSaysWhy) {
    const char* bad[][2] = {
        {"usb", "unknown simulated reader type 'usb'"},
        {"usb-hid,color=red", "unknown simulated reader option 'color'"},
        {"usb-hid,firmware", "needs a value"},
        {"rs232,pid=4206", "pid applies to usb-hid and usb-hid-kb readers only"},
        {"usb-hid,pid=42g6", "pid '42g6'"},
        {"usb-hid,security-level=5", "security-level '5'"},
    };
    for (const auto& [spec, message] : bad) {
        SCOPED_TRACE(spec);
        SimulatedReaderOptions options;
        std::string error;
        EXPECT_FALSE(ParseSimulatedReaderSpec(spec, options, error));
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace ravelfin
