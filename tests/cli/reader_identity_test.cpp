#include <gtest/gtest.h>

#include <sstream>

#include "cli/command_line.h"
#include "cli/device_option.h"
#include "cli/reader_commands.h"
#include "flows/flow_messages.h"
#include "protocol/command_frame.h"
#include "protocol/settings_file.h"
#include "protocol/temp_dir.h"
#include "sim/simulated_environment.h"

namespace ravelfin::cli {
namespace {

/// Pauses that make the machine's time pass: readers with arrive= and leave= times come and
/// go in the middle of a command, at the protocol's pauses, without waiting for real.
class ClockPause final : public Pause {
  public:
    void Wait(int milliseconds) override {
        elapsed_ += milliseconds;
        if (machine)
            machine->AdvanceClock(elapsed_);
    }
    SimulatedEnvironment* machine = nullptr;

  private:
    int elapsed_ = 0;
};

class ReaderIdentity : public ::testing::Test {
  protected:
    ReaderIdentity() { clock.machine = &env; }

    SimulatedReader& Attach(const std::string& spec) {
        std::string error;
        EXPECT_TRUE(env.AddReaderFromOptionText(spec, error)) << error;
        return env.Reader(env.ReaderCount() - 1);
    }
    int Run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        CommandLine cl;
        std::string error;
        EXPECT_TRUE(ParseCommandLine(args, cl, error)) << error;
        Console console(out, err);
        if (cl.command == "list")
            return RunList(cl, env, console);
        if (cl.command == "apply")
            return RunApply(cl, env, console);
        if (cl.command == "report")
            return RunReport(cl, env, console);
        if (cl.command == "clone")
            return RunClone(cl, env, console);
        ADD_FAILURE() << "no such command " << cl.command;
        return -1;
    }
    std::string File() {
        ReaderSettings settings;
        settings.TerminalType = '6';
        settings.HidFormat = '8';  // the keyboard readers' own: none restarts
        settings.FirmwareVersionNumber = 4.3;
        const std::string path = dir.File("in.cfs2");
        EXPECT_TRUE(SaveSettingsFile(settings, path));
        return path;
    }

    ClockPause clock;
    SimulatedEnvironment env{clock};
    std::ostringstream out;
    std::ostringstream err;
    TempDir dir;
};

// The reader named by its list position is read; while the command runs, another arrives
// and takes that position. The file goes to the reader that was read, never the newcomer;
// and when the reader read leaves, to none.
TEST_F(ReaderIdentity, ApplyWritesToTheReaderItReadOrToNone) {
    SimulatedReader& newcomer = Attach("usb-hid-kb,firmware=V4.30,arrive=500");
    SimulatedReader& chosen = Attach("usb-hid-kb,firmware=V3.90");
    const std::string file = File();
    ASSERT_EQ(Run({"--device", "usb-hid-kb:0", "apply", file}), 0) << err.str();
    EXPECT_TRUE(newcomer.IsPlugged());
    EXPECT_EQ(chosen.Settings().TerminalType, '6');
    EXPECT_TRUE(newcomer.Frames().empty());
    EXPECT_NE(out.str().find("Reader usb-hid-kb:1 /sim/hidraw1 (port 9-2, serial SN00000002)"),
              std::string::npos)
        << out.str();

    SimulatedEnvironment leaving{clock};
    clock.machine = &leaving;
    std::string error;
    ASSERT_TRUE(leaving.AddReaderFromOptionText("usb-hid-kb,firmware=V4.30,arrive=500", error));
    ASSERT_TRUE(leaving.AddReaderFromOptionText("usb-hid-kb,firmware=V3.90,leave=500", error));
    CommandLine cl;
    ASSERT_TRUE(ParseCommandLine({"--device", "usb-hid-kb:0", "apply", file}, cl, error));
    out.str("");
    err.str("");
    Console console(out, err);
    EXPECT_EQ(RunApply(cl, leaving, console), 1);
    EXPECT_EQ(err.str(),
              "The reader you chose (port 9-2, serial SN00000002) is no longer attached; nothing "
              "was sent to any reader.\n");
    EXPECT_TRUE(leaving.Reader(0).Frames().empty());
    EXPECT_EQ(leaving.Reader(1).Settings().TerminalType, '0');
}

// The first target restarts as a HID reader for the source's format and comes back last in
// the list, where the second target was named by its index: the second clone still goes to the
// second target.
TEST_F(ReaderIdentity, CloneTargetsAreTheReadersNamedWhenItStarted) {
    SimulatedReader& source = Attach("usb-hid,firmware=V4.30");
    SimulatedReader& keyboard = Attach("usb-hid-kb,firmware=V4.30");
    SimulatedReader& second = Attach("usb-hid,firmware=V4.25");
    source.Settings().TrackSelect = '7';
    ASSERT_EQ(Run({"clone", "--from", "usb-hid:0", "--to", "usb-hid-kb:1", "--to", "usb-hid:2"}), 0)
        << err.str();
    EXPECT_EQ(keyboard.ProductId(), 0x4206);
    EXPECT_EQ(keyboard.Settings().TrackSelect, '7');
    EXPECT_EQ(second.Settings().TrackSelect, '7');
    EXPECT_NE(out.str().find("Reader usb-hid:1 /sim/hidraw2 (port 9-3, serial SN00000003)"),
              std::string::npos)
        << out.str();
}

TEST_F(ReaderIdentity, ReadersAreNamedBySerialNumberOrPortPath) {
    Attach("usb-hid,firmware=V4.30");
    Attach("usb-hid-kb,firmware=V3.90");
    Attach("usb-rs232,firmware=V4.25");
    Attach("rs232,firmware=V3.10");
    ASSERT_EQ(Run({"--device", "serial:SN00000002", "report"}), 0) << err.str();
    EXPECT_NE(out.str().find("Firmware Version: V3.90"), std::string::npos);
    ASSERT_EQ(Run({"--device", "path:9-3", "report"}), 0) << err.str();
    EXPECT_NE(out.str().find("Firmware Version: V4.25"), std::string::npos);
    // A serial port's stable name, or the node of a port that has none, names it too.
    ASSERT_EQ(Run({"--device", "path:/sim/serial/by-id/usb-Orvane_Ravelfin_SN00000003-if00-port0",
                   "report"}),
              0)
        << err.str();
    EXPECT_NE(out.str().find("Firmware Version: V4.25"), std::string::npos);
    ASSERT_EQ(Run({"--device", "path:/sim/ttyS1", "report"}), 0) << err.str();
    EXPECT_NE(out.str().find("Firmware Version: V3.10"), std::string::npos);

    EXPECT_EQ(Run({"--device", "serial:SN00000009", "report"}), 1);
    EXPECT_EQ(err.str(),
              "ravelfin: no attached reader has the serial number SN00000009 (see "
              "ravelfin list)\n");

    DeviceChoice choice;
    std::string error;
    ASSERT_TRUE(ParseDeviceOption("serial:ABC", choice, error));
    EXPECT_EQ(choice.Serial, "ABC");
    EXPECT_EQ(choice.Type, 0);
    EXPECT_FALSE(ParseDeviceOption("serial:", choice, error));
    SimulatedEnvironment twins;
    SimulatedReaderOptions options;
    options.SerialNumber = "TWIN000001";
    ASSERT_TRUE(twins.AddReader(options, error));
    ASSERT_TRUE(twins.AddReader(options, error));
    ASSERT_TRUE(ParseDeviceOption("serial:TWIN000001", choice, error));
    EXPECT_FALSE(ResolveIdentityChoice(twins.Devices(), choice, error));
    EXPECT_EQ(error,
              "2 attached readers have the serial number TWIN000001; name one by "
              "TYPE:INDEX or path:PORTPATH");
    ASSERT_TRUE(ParseDeviceOption("path:9-2", choice, error));
    ASSERT_TRUE(ResolveIdentityChoice(twins.Devices(), choice, error)) << error;
    EXPECT_EQ(choice.Type, kInterfaceUsbHid);
    EXPECT_EQ(choice.Index, 1);
    EXPECT_EQ(choice.Name, "/sim/hidraw1");
}

}  // namespace
}  // namespace ravelfin::cli
