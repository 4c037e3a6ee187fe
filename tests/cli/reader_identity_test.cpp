#include "cli_rig.h"
#include "fleet/device_choice.h"
#include "protocol/settings_file.h"

namespace ravelfin::cli {
namespace {

class ReaderIdentity : public CliRig {
  protected:
    ReaderIdentity() { ClockFollowsPauses(); }

    std::string File() {
        ReaderSettings settings;
        settings.TerminalType = '6';
        settings.HidFormat = '8';  // the keyboard readers' own: none restarts
        settings.FirmwareVersionNumber = 4.3;
        const std::string path = dir.File("in.cfs2");
        EXPECT_TRUE(SaveSettingsFile(settings, path));
        return path;
    }
};

// The reader named by its list position is read; while the command runs, another arrives
// and takes that position. The file goes to the reader that was read, never the newcomer.
TEST_F(ReaderIdentity, ApplyWritesToTheReaderItRead) {
    SimulatedReader& newcomer = Attach("usb-hid-kb,firmware=V4.30,arrive=500");
    SimulatedReader& chosen = Attach("usb-hid-kb,firmware=V3.90");
    ASSERT_EQ(Run({"--device", "usb-hid-kb:0", "apply", File()}), 0) << out.str();
    EXPECT_TRUE(newcomer.IsPlugged());
    EXPECT_EQ(chosen.Settings().TerminalType, '6');
    EXPECT_TRUE(newcomer.Frames().empty());
    EXPECT_EQ(Lines().front().rfind("usb-hid-kb:0 /sim/hidraw1 (port 9-2, serial SN00000002): ", 0),
              0u)
        << out.str();
}

// The reader read leaves before anything is written: nothing is written, to any reader.
TEST_F(ReaderIdentity, ApplyWritesToNoReaderThatLeft) {
    SimulatedReader& newcomer = Attach("usb-hid-kb,firmware=V4.30,arrive=500");
    SimulatedReader& chosen = Attach("usb-hid-kb,firmware=V3.90,leave=500");
    EXPECT_EQ(Run({"--device", "usb-hid-kb:0", "apply", File(), "--json"}), 1);
    EXPECT_EQ(Member(0, "message"),
              "The reader you chose (port 9-2, serial SN00000002) is no "
              "longer attached; nothing was sent to any reader.");
    EXPECT_EQ(Member(0, "error"), "gone");
    EXPECT_TRUE(newcomer.Frames().empty());
    EXPECT_EQ(chosen.Settings().TerminalType, '0');
}

// A port named on the command line is the port of that name all through the command, while
// the port listed before it leaves half way and the list closes up.
TEST_F(ReaderIdentity, ANamedPortStaysThePortOfThatNameWhenTheListShifts) {
    SimulatedReader& leaving = Attach("rs232,firmware=V3.10,leave=1");
    SimulatedReader& named = Attach("rs232,firmware=V4.33");
    EXPECT_EQ(Run({"--device", "rs232:/sim/ttyS1", "apply", File()}), 0) << out.str();
    EXPECT_FALSE(leaving.IsPlugged());
    EXPECT_TRUE(leaving.Frames().empty());
    EXPECT_EQ(named.Settings().TerminalType, '6');
}

TEST_F(ReaderIdentity, ReadersAreNamedBySerialNumberOrPortPath) {
    Attach("usb-hid,firmware=V4.30");
    Attach("usb-hid-kb,firmware=V3.90");
    Attach("usb-rs232,firmware=V4.25");
    Attach("rs232,firmware=V3.10");
    // A serial port's stable name, or the node of a port that has none, names it too.
    const std::pair<const char*, const char*> named[] = {
        {"serial:SN00000002", "V3.90"},
        {"path:9-3", "V4.25"},
        {"path:/sim/serial/by-id/usb-Orvane_Ravelfin_SN00000003-if00-port0", "V4.25"},
        {"path:/sim/ttyS1", "V3.10"}};
    for (const auto& [device, firmware] : named) {
        ASSERT_EQ(Run({"--device", device, "report"}), 0) << err.str();
        EXPECT_TRUE(Printed(std::string("Firmware Version: ") + firmware)) << device;
    }
    EXPECT_EQ(Run({"--device", "serial:SN00000009", "report"}), 1);
    EXPECT_EQ(err.str(),
              "no attached reader has the serial number SN00000009 (see ravelfin list)\n");
    EXPECT_EQ(Run({"--device", "serial:", "report"}), kExitUsage);

    SimulatedEnvironment twins;
    SimulatedReaderOptions options;
    options.SerialNumber = "TWIN000001";
    std::string error;
    ASSERT_TRUE(twins.AddReader(options, error) && twins.AddReader(options, error));
    DeviceChoice choice;
    ASSERT_TRUE(ParseDeviceOption("serial:TWIN000001", choice, error));
    EXPECT_FALSE(ResolveIdentityChoice(twins.Devices(), choice, error));
    EXPECT_EQ(error,
              "2 attached readers have the serial number TWIN000001; name one by "
              "TYPE:INDEX or path:PORTPATH");
}

}  // namespace
}  // namespace ravelfin::cli
