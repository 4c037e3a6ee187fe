#include "cli/reader_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/command_line.h"
#include "protocol/settings_file.h"
#include "protocol/temp_dir.h"
#include "report/settings_report.h"
#include "sim/simulated_environment.h"

namespace ravelfin::cli {
namespace {

class ReaderCommands : public ::testing::Test {
  protected:
    SimulatedReader& Attach(const std::string& optionText) {
        std::string error;
        EXPECT_TRUE(env.AddReaderFromOptionText(optionText, error)) << error;
        return env.Reader(env.ReaderCount() - 1);
    }

    /// Runs one command line as `ravelfin` would, against the simulated readers.
    int Run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        CommandLine cl;
        std::string error;
        EXPECT_TRUE(ParseCommandLine(args, cl, error)) << error;
        Console console(out, err);
        const std::string& c = cl.command;
        if (c == "list")
            return RunList(cl, env, console);
        if (c == "report")
            return RunReport(cl, env, console);
        if (c == "save")
            return RunSave(cl, env, console);
        if (c == "apply")
            return RunApply(cl, env, console);
        if (c == "defaults")
            return RunDefaults(cl, env, console);
        if (c == "send")
            return RunSend(cl, env, console);
        if (c == "clone")
            return RunClone(cl, env, console);
        ADD_FAILURE() << "no such command " << c;
        return -1;
    }

    int Waited(int ms) {
        const auto& w = env.RecordedPauses().Waits;
        return static_cast<int>(std::count(w.begin(), w.end(), ms));
    }

    SimulatedEnvironment env;
    std::ostringstream out;
    std::ostringstream err;
    TempDir dir;
};

TEST_F(ReaderCommands, ReportAndListOnTheOnlyUsbReader) {
    SimulatedReader& reader = Attach("usb-hid,firmware=V4.27 LUMA");
    reader.Settings().Track1Prefix = {'#'};
    ASSERT_EQ(Run({"report"}), 0) << err.str();
    ReaderSettings expected = reader.Settings();
    expected.FirmwareVersionNumber = 4.27;
    expected.ModelClass = 10000;
    expected.SecurityLevel = '1';
    expected.InterfaceType = kInterfaceUsbHid;
    std::string report = BuildSettingsReport(expected, "V4.27 LUMA");
    report.erase(std::remove(report.begin(), report.end(), '\r'), report.end());
    EXPECT_EQ(out.str(), report);
    EXPECT_TRUE(err.str().empty());

    // A plain serial port may hold anything: it is asked only when named, or when asked to.
    SimulatedReader& rs232 = Attach("rs232,firmware=V3.10");
    ASSERT_EQ(Run({"list"}), 0);
    EXPECT_EQ(out.str(),
              "rs232\t0\t/sim/ttyS0\tRS-232 port (not probed)\t/sim/ttyS0\t\n"
              "usb-hid\t0\t/sim/hidraw0\tV4.27 LUMA\t9-1\tSN00000001\n");
    EXPECT_TRUE(rs232.Frames().empty());
    ASSERT_EQ(Run({"--device", "rs232:/sim/ttyS0", "list"}), 0);
    EXPECT_NE(out.str().find("rs232\t0\t/sim/ttyS0\tV3.10\t"), std::string::npos) << out.str();
    ASSERT_EQ(Run({"list", "--probe-serial", "--json"}), 0);
    EXPECT_NE(out.str().find("\"firmware\": \"V3.10\""), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("\"name\": \"/sim/ttyS0\""), std::string::npos);
    EXPECT_NE(out.str().find("\"serial\": \"SN00000001\""), std::string::npos);
    EXPECT_NE(out.str().find("\"port\": \"9-1\""), std::string::npos);
    // What shell completion runs opens nothing at all.
    const std::size_t framesBefore = reader.Frames().size() + rs232.Frames().size();
    ASSERT_EQ(Run({"list", "--no-probe"}), 0);
    EXPECT_EQ(
        out.str(),
        "rs232\t0\t/sim/ttyS0\t\t/sim/ttyS0\t\nusb-hid\t0\t/sim/hidraw0\t\t9-1\tSN00000001\n");
    EXPECT_EQ(reader.Frames().size() + rs232.Frames().size(), framesBefore);

    // A firmware byte above 0x7F is one Latin-1 character, UTF-8 encoded once in the JSON.
    Attach("usb-hid-kb,firmware=V4.30\xB5");
    ASSERT_EQ(Run({"list", "--json"}), 0);
    EXPECT_NE(out.str().find("\"V4.30\xC2\xB5\""), std::string::npos) << out.str();
    EXPECT_TRUE(err.str().empty());

    // A reader that another program holds is still listed, and the user is told why it has
    // no firmware text.
    Attach("usb-hid,fault=busy");
    ASSERT_EQ(Run({"list"}), 0);
    EXPECT_NE(out.str().find("usb-hid\t2\t/sim/hidraw2\t\t9-4\tSN00000004\n"), std::string::npos)
        << out.str();
    EXPECT_EQ(err.str(), "a listed reader is in use by another program; close it and try again.\n");
}

TEST_F(ReaderCommands, NoOrSeveralUsbReadersNeedADevice) {
    Attach("rs232");
    EXPECT_EQ(Run({"report"}), 1);
    EXPECT_NE(err.str().find("No USB reader found"), std::string::npos);
    EXPECT_NE(err.str().find("rs232:0 (/sim/ttyS0, port /sim/ttyS0)"), std::string::npos);
    EXPECT_NE(err.str().find("--device"), std::string::npos);

    Attach("usb-hid");
    Attach("usb-hid-kb,firmware=V4.25");
    EXPECT_EQ(Run({"report"}), 1);
    EXPECT_NE(err.str().find("More than one USB reader found"), std::string::npos);
    ASSERT_EQ(Run({"--device", "usb-hid-kb:1", "report"}), 0) << err.str();
    EXPECT_NE(out.str().find("Firmware Version: V4.25"), std::string::npos);
    EXPECT_NE(out.str().find("USB HID KB Polling Interval: 1"), std::string::npos);
    ASSERT_EQ(Run({"--device", "rs232:/sim/ttyS0", "report"}), 0) << err.str();
    EXPECT_NE(out.str().find("INTERFACE_TYPE: RS232"), std::string::npos);

    EXPECT_EQ(Run({"--device", "rs232:/dev/does-not-exist", "report"}), 1);
    EXPECT_EQ(err.str(), "Can not open Ravelfin device! (rs232:/dev/does-not-exist)\n");
    Attach("usb-rs232,fault=no-answer");
    EXPECT_EQ(Run({"--device", "usb-rs232:1", "report"}), 1);
    EXPECT_EQ(err.str(), "Can not read from Ravelfin device! (usb-rs232:1)\n");
    EXPECT_EQ(Run({"--device", "usb:0", "report"}), 1);
    EXPECT_NE(err.str().find("TYPE:INDEX"), std::string::npos);
    EXPECT_EQ(Run({"--device", "usb-hid:", "report"}), 1);
    EXPECT_NE(err.str().find("TYPE:INDEX"), std::string::npos);
}

TEST_F(ReaderCommands, SaveThenApplyCarriesSettingsBetweenReaders) {
    SimulatedReader& first = Attach("usb-hid");
    first.Settings().TerminalType = '6';
    first.Settings().Track3Suffix = {0x0D, 0x0A};
    first.Settings().formulas[0] = {0x21, 0x41};
    ASSERT_EQ(Run({"save", dir.File("first.cfs2")}), 0);
    EXPECT_EQ(out.str(), "Save configuration to file successfully.\n");

    first.Settings().ResetAllDefaults();
    ASSERT_EQ(Run({"apply", dir.File("first.cfs2")}), 0) << err.str();
    EXPECT_EQ(out.str(),
              "Reader usb-hid:0 /sim/hidraw0 (port 9-1, serial SN00000001)\n"
              "Load configuration from file successfully.\n"
              "The configuration settings have been written to Ravelfin device successfully!\n");
    EXPECT_EQ(first.Settings().TerminalType, '6');
    EXPECT_EQ(first.Settings().Track3Suffix, (Bytes{0x0D, 0x0A}));
    EXPECT_EQ(first.Settings().formulas[0], (Bytes{0x21, 0x41}));
    EXPECT_EQ(Waited(8000), 0) << out.str();

    EXPECT_EQ(Run({"apply", dir.File("missing.cfs2")}), 1);
    EXPECT_EQ(err.str(), "Failed to load configuration from file.\n");
}

TEST_F(ReaderCommands, ANewUsbHidFormatResetsAndReopensTheReader) {
    SimulatedReader& reader = Attach("usb-hid");
    ReaderSettings changed;
    changed.HidFormat = '1';
    changed.FirmwareVersionNumber = 4.3;
    ASSERT_TRUE(SaveSettingsFile(changed, dir.File("hid.cfs2")));
    ASSERT_EQ(Run({"apply", dir.File("hid.cfs2")}), 0) << err.str();
    EXPECT_EQ(reader.Settings().HidFormat, '1');
    EXPECT_EQ(Waited(8000), 1);
    EXPECT_NE(out.str().find("Success to re-open the device."), std::string::npos);
    // The same file again changes nothing that resets the reader.
    ASSERT_EQ(Run({"apply", dir.File("hid.cfs2")}), 0);
    EXPECT_EQ(Waited(8000), 1);
}

TEST_F(ReaderCommands, DefaultsAndRawCommands) {
    SimulatedReader& reader = Attach("usb-rs232");
    reader.Settings().BeepVolume = '0';
    ASSERT_EQ(Run({"defaults"}), 0) << err.str();
    EXPECT_EQ(out.str(),
              "Reader usb-rs232:0 /sim/ttyUSB0 (port 9-1, serial SN00000001)\n"
              "Set default settings to Ravelfin device successfully!\n");
    EXPECT_EQ(reader.Settings().BeepVolume, '2');
    // Defaults the reader took but that cannot be read back fail the command: the settings
    // it has now are unknown. The fault meets the read after the connection's two reads, the
    // look at the firmware before anything is written, and the defaults command.
    reader.SetFault(SimulatedFault::WrongLrc, 4);
    EXPECT_EQ(Run({"defaults"}), 1);
    EXPECT_EQ(err.str(), "Cannot read setting from Ravelfin device\n");
    reader.SetFault(SimulatedFault::None);

    ASSERT_EQ(Run({"send", "\\x2\\x53\\x10\\x1\\x35\\x3"}), 0) << err.str();
    EXPECT_EQ(reader.Settings().TerminalType, '5');
    EXPECT_NE(out.str().find("Send Command:"), std::string::npos);
    EXPECT_EQ(out.str().find('\r'), std::string::npos);

    EXPECT_EQ(Run({"send", "\\x2\\x52\\x22"}), 1);
    EXPECT_EQ(err.str(), "The start/end character is not STX/ETX!\nIt is not a legal command!\n");
    EXPECT_EQ(Run({"send", "\\q2"}), 1);
    EXPECT_EQ(err.str(), "Invalid value in the command text!\n");
}

TEST_F(ReaderCommands, CloneCopiesGeneralSettingsToEveryTarget) {
    SimulatedReader& source = Attach("usb-hid");
    SimulatedReader& keyboard = Attach("usb-hid-kb");
    SimulatedReader& old = Attach("usb-hid,firmware=V4.25");
    source.Settings().TrackSelect = '7';
    source.Settings().formulas[2] = {0x20};
    ASSERT_EQ(Run({"clone", "--from", "usb-hid:0", "--to", "usb-hid-kb:1", "--to",
                   "usb-hid:/sim/hidraw2"}),
              0)
        << err.str();
    EXPECT_EQ(keyboard.Settings().TrackSelect, '7');
    EXPECT_EQ(old.Settings().TrackSelect, '7');
    EXPECT_TRUE(keyboard.Settings().formulas[2].empty());  // data editing is not cloned

    // The keyboard reader took the source's HID format and restarted as a HID reader, last
    // in the list: usb-hid:2 is that reader now, and the old one is named by its serial.
    EXPECT_EQ(keyboard.ProductId(), 0x4206);
    old.SetFault(SimulatedFault::Nak);
    EXPECT_EQ(Run({"clone", "--from", "usb-hid:0", "--to", "serial:SN00000003"}), 1);
    EXPECT_NE(out.str().find("Reader usb-hid:1 /sim/hidraw2 (port 9-3, serial SN00000003)"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(err.str(), "Could not Clone to Target MSR device!\n");
    EXPECT_EQ(Run({"clone", "--from", "usb-hid:0"}), 2);
}

// A reader that refuses the settings took none of them: scripts must not see a success.
TEST_F(ReaderCommands, ARefusedApplyOrCloneFails) {
    SimulatedReader& reader = Attach("usb-hid");
    Attach("usb-hid");
    Attach("usb-hid");
    ASSERT_TRUE(SaveSettingsFile(ReaderSettings(), dir.File("in.cfs2")));
    reader.SetFault(SimulatedFault::RefusesSets);
    EXPECT_EQ(Run({"--device", "usb-hid:0", "apply", dir.File("in.cfs2")}), 1);
    EXPECT_EQ(err.str(), "Warning! There are unknown FuncIDs in the command.\n");
    // One refusing target fails the clone, also when a later one takes the settings.
    EXPECT_EQ(Run({"clone", "--from", "usb-hid:1", "--to", "usb-hid:0", "--to", "usb-hid:2"}), 1);
    EXPECT_EQ(err.str(), "Warning! There are unknown FuncIDs in the command.\n");
    reader.SetFault(SimulatedFault::None);
    EXPECT_EQ(Run({"clone", "--from", "usb-hid:1", "--to", "usb-hid:0"}), 0) << err.str();
}

TEST_F(ReaderCommands, EveryFaultFailsCleanlyAndLeavesTheReaderAsItWas) {
    const SimulatedFault faults[] = {SimulatedFault::NoAnswer,           SimulatedFault::Nak,
                                     SimulatedFault::WrongLrc,           SimulatedFault::CutShort,
                                     SimulatedFault::UnpluggedMidAnswer, SimulatedFault::PortBusy};
    ReaderSettings fileSettings;
    fileSettings.TerminalType = '6';
    ASSERT_TRUE(SaveSettingsFile(fileSettings, dir.File("in.cfs2")));
    for (const char* type : {"usb-hid", "usb-rs232"}) {
        for (SimulatedFault fault : faults) {
            SimulatedEnvironment local;
            std::string error;
            ASSERT_TRUE(local.AddReaderFromOptionText(type, error)) << error;
            SimulatedReader& reader = local.Reader(0);
            const ReaderSettings before = reader.Settings();
            for (std::vector<std::string> args :
                 std::vector<std::vector<std::string>>{{"report"},
                                                       {"save", dir.File("out.cfs2")},
                                                       {"apply", dir.File("in.cfs2")},
                                                       {"defaults"},
                                                       {"send", "\\x2\\x52\\x22\\x3"}}) {
                reader.SetFault(fault);
                CommandLine cl;
                ASSERT_TRUE(ParseCommandLine(args, cl, error));
                out.str("");
                err.str("");
                Console console(out, err);
                int code = -1;
                if (cl.command == "report")
                    code = RunReport(cl, local, console);
                if (cl.command == "save")
                    code = RunSave(cl, local, console);
                if (cl.command == "apply")
                    code = RunApply(cl, local, console);
                if (cl.command == "defaults")
                    code = RunDefaults(cl, local, console);
                if (cl.command == "send")
                    code = RunSend(cl, local, console);
                EXPECT_EQ(code, 1)
                    << type << " " << args[0] << " fault " << static_cast<int>(fault);
                EXPECT_FALSE(err.str().empty());
                reader.SetFault(SimulatedFault::None);
                EXPECT_EQ(reader.Settings(), before) << type << " " << args[0];
            }
            EXPECT_FALSE(std::filesystem::exists(dir.File("out.cfs2")));
        }
    }
}

}  // namespace
}  // namespace ravelfin::cli
