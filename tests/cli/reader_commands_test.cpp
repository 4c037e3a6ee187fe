#include <algorithm>
#include <csignal>
#include <future>

#include "cli_rig.h"
#include "flows/flow_context.h"
#include "flows/flow_messages.h"
#include "protocol/settings_file.h"
#include "report/settings_report.h"

namespace ravelfin::cli {
namespace {

using Strings = std::vector<std::string>;

class ReaderCommands : public CliRig {
  protected:
    /// A configuration file that changes the terminal type and the track 1 prefix.
    std::string ConfigFile() {
        ReaderSettings settings;
        settings.TerminalType = '6';
        settings.Track1Prefix = {'#'};
        settings.FirmwareVersionNumber = 4.3;
        const std::string path = dir.File("fleet.cfs2");
        EXPECT_TRUE(SaveSettingsFile(settings, path));
        return path;
    }
};

std::string Name(int i) {
    const std::string n = std::to_string(i);
    return "usb-hid:" + n + " /sim/hidraw" + n + " (port 9-" + std::to_string(i + 1) +
           ", serial SN0000000" + std::to_string(i + 1) + ")";
}

TEST_F(ReaderCommands, ReportAndListOnTheOnlyUsbReader) {
    SimulatedReader& reader = Attach("usb-hid,firmware=V4.27 LUMA");
    reader.Settings().Track1Prefix = {'#'};
    // --quiet leaves what the command is for: the report alone.
    ASSERT_EQ(Run({"report", "--quiet"}), 0) << err.str();
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
    ASSERT_EQ(Run({"list", "--probe-serial", "--json"}), 0);
    EXPECT_TRUE(Printed("\"firmware\": \"V3.10\"")) << out.str();
    EXPECT_TRUE(Printed("\"port\": \"9-1\"") && Printed("\"serial\": \"SN00000001\""));
    // What shell completion runs opens nothing at all.
    const std::size_t framesBefore = reader.Frames().size() + rs232.Frames().size();
    ASSERT_EQ(Run({"list", "--no-probe"}), 0);
    EXPECT_EQ(
        out.str(),
        "rs232\t0\t/sim/ttyS0\t\t/sim/ttyS0\t\nusb-hid\t0\t/sim/hidraw0\t\t9-1\tSN00000001\n");
    EXPECT_EQ(reader.Frames().size() + rs232.Frames().size(), framesBefore);
}

TEST_F(ReaderCommands, NoOrSeveralUsbReadersNeedADevice) {
    Attach("rs232");
    EXPECT_EQ(Run({"report"}), 1);
    EXPECT_NE(err.str().find("No USB reader found"), std::string::npos);
    EXPECT_NE(err.str().find("rs232:0 (/sim/ttyS0, port /sim/ttyS0)"), std::string::npos);

    Attach("usb-hid");
    Attach("usb-hid-kb,firmware=V4.25");
    EXPECT_EQ(Run({"report"}), 1);
    EXPECT_NE(err.str().find("More than one USB reader found"), std::string::npos);
    ASSERT_EQ(Run({"--device", "usb-hid-kb:1", "report"}), 0) << err.str();
    EXPECT_TRUE(Printed("Firmware Version: V4.25") && Printed("USB HID KB Polling Interval: 1"));
    ASSERT_EQ(Run({"--device", "rs232:/sim/ttyS0", "report"}), 0) << err.str();
    EXPECT_TRUE(Printed("INTERFACE_TYPE: RS232"));

    EXPECT_EQ(Run({"--device", "usb:0", "report"}), 2);
    EXPECT_NE(err.str().find("TYPE:INDEX"), std::string::npos);
    EXPECT_EQ(Run({"--device", "usb-hid:", "report"}), 2);
}

TEST_F(ReaderCommands, SaveThenApplyCarriesSettingsBetweenReaders) {
    SimulatedReader& first = Attach("usb-hid");
    first.Settings().TerminalType = '6';
    first.Settings().Track3Suffix = {0x0D, 0x0A};
    first.Settings().formulas[0] = {0x21, 0x41};
    ASSERT_EQ(Run({"save", dir.File("first.cfs2")}), 0);
    EXPECT_EQ(Lines(), (Strings{Name(0) + ": " + kBasicSavedText, "1 of 1 readers saved by save"}));
    const ReaderSettings saved = first.Settings();
    first.Settings().ResetAllDefaults();
    ASSERT_EQ(Run({"apply", dir.File("first.cfs2")}), 0) << err.str();
    EXPECT_EQ(Lines(),
              (Strings{Name(0) + ": " + kWrittenText, "1 of 1 readers configured by apply"}));
    EXPECT_EQ(first.Settings(), saved);
    EXPECT_EQ(Waited(kReaderResetWaitMs), 0) << out.str();

    EXPECT_EQ(Run({"apply", dir.File("missing.cfs2")}), 1);
    EXPECT_EQ(err.str(),
              "Failed to load configuration from file. (" + dir.File("missing.cfs2") + ")\n");
    Attach("usb-hid");
    EXPECT_EQ(Run({"save", dir.File("x.cfs2"), "--device", "usb-hid:0", "--device", "usb-hid:1"}),
              2);
    EXPECT_NE(err.str().find("'save' works on one reader"), std::string::npos) << err.str();
    env.Reader(1).SetFault(SimulatedFault::Nak);
    EXPECT_EQ(Run({"save", dir.File("x.cfs2"), "--device", "usb-hid:1"}), kExitFailed);
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.cfs2")));
}

TEST_F(ReaderCommands, DefaultsAndRawCommands) {
    SimulatedReader& reader = Attach("usb-rs232");
    reader.Settings().TerminalType = '5';
    ASSERT_EQ(Run({"defaults", "--json"}), 0) << err.str();
    EXPECT_EQ(Member(0, "message"), kDefaultsSetText);
    EXPECT_TRUE(Json()[0].toObject()["changed"].toBool());
    EXPECT_EQ(reader.Settings().TerminalType, '0');
    // Defaults on a reader that holds them change nothing, and say so.
    ASSERT_EQ(Run({"defaults", "--json"}), 0) << err.str();
    EXPECT_FALSE(Json()[0].toObject()["changed"].toBool());
    // Defaults the reader took but that cannot be read back fail the command: the settings
    // it has now are unknown. The fault meets the read after the connection's two reads, the
    // look at the firmware before anything is written, and the defaults command.
    reader.SetFault(SimulatedFault::WrongLrc, 4);
    EXPECT_EQ(Run({"defaults", "--json"}), 1);
    EXPECT_EQ(Member(0, "message"), std::string(kRereadFailedText) + ": the answer came corrupted");
    EXPECT_EQ(Member(0, "error"), "bad-lrc");
    reader.SetFault(SimulatedFault::None);

    ASSERT_EQ(Run({"send", "\\x2\\x53\\x10\\x1\\x35\\x3", "--quiet"}), 0) << err.str();
    EXPECT_EQ(reader.Settings().TerminalType, '5');
    EXPECT_EQ(out.str().rfind("1) Send Command:", 0), 0u) << out.str();
    EXPECT_EQ(out.str().find('\r'), std::string::npos);

    // A command that is no frame reaches no reader.
    const std::size_t frames = reader.Frames().size();
    EXPECT_EQ(Run({"send", "\\x2\\x52\\x22"}), 2);
    EXPECT_NE(err.str().find("(a command is written \\x2\\x52\\x22\\x3)"), std::string::npos);
    EXPECT_EQ(Run({"send", "\\q2"}), 2);
    EXPECT_EQ(reader.Frames().size(), frames);
}

TEST_F(ReaderCommands, CloneCopiesGeneralSettingsToEveryTargetAndWritesNoReaderThatLeft) {
    SimulatedReader& source = Attach("usb-hid");
    SimulatedReader& keyboard = Attach("usb-hid-kb");
    SimulatedReader& old = Attach("usb-hid,firmware=V4.25");
    Attach("usb-rs232");  // not USB HID: --to-all leaves it alone
    source.Settings().TrackSelect = '7';
    source.Settings().formulas[2] = {0x20};
    ASSERT_EQ(Run({"clone", "--from", "usb-hid:0", "--to-all"}), 0) << err.str();
    EXPECT_EQ(Lines(), (Strings{"usb-hid-kb:1 /sim/hidraw1 (port 9-2, serial SN00000002): " +
                                    std::string(kClonedText),
                                Name(2) + ": " + kClonedText, "2 of 2 readers cloned by clone"}));
    EXPECT_EQ(keyboard.Settings().TrackSelect, '7');
    EXPECT_EQ(old.Settings().TrackSelect, '7');
    EXPECT_TRUE(keyboard.Settings().formulas[2].empty());  // data editing is not cloned
    EXPECT_TRUE(env.Reader(3).Frames().empty());

    // The keyboard reader took the source's HID format and restarted as a HID reader, last in
    // the list: the readers are named by their serial numbers from here on.
    env.PauseTimePassed(SimulatedEnvironment::kResetAbsenceMs);
    EXPECT_EQ(keyboard.ProductId(), 0x4206);
    source.SetFault(SimulatedFault::NoAnswer);
    EXPECT_EQ(Run({"clone", "--from", "serial:SN00000001", "--to-all"}), 1);
    EXPECT_EQ(err.str(),
              "ravelfin: the source reader " + Name(0) +
                  ": Can not read from Ravelfin device! (usb-hid:0): the reader answered NAK\n");
    source.SetFault(SimulatedFault::None);

    // A reader that refuses the settings took none of them: that fails, also when another
    // target takes them.
    old.SetFault(SimulatedFault::RefusesSets);
    EXPECT_EQ(Run({"clone", "--from", "serial:SN00000001", "--to", "serial:SN00000003", "--to",
                   "serial:SN00000002", "--json"}),
              1);
    EXPECT_EQ(Member(0, "error"), "refused");
    EXPECT_EQ(Member(0, "message"), kUnknownFuncIdsText);
    EXPECT_EQ(Member(1, "result"), "ok");
    EXPECT_EQ(Run({"apply", ConfigFile(), "--device", "serial:SN00000003", "--json"}), 1);
    EXPECT_EQ(Member(0, "error"), "refused");
    old.SetFault(SimulatedFault::None);

    // A target named when the clone started that left before its turn is not written to.
    ClockFollowsPauses();
    SimulatedReader& leaving = Attach("usb-hid,leave=1");
    EXPECT_EQ(Run({"clone", "--from", "serial:SN00000001", "--to", "serial:SN00000005"}), 1);
    EXPECT_EQ(Lines().front(),
              "usb-hid:3 /sim/hidraw4 (port 9-5, serial SN00000005): The target "
              "reader usb-hid:3 (port 9-5, serial SN00000005) is no longer "
              "attached; nothing was sent to it.");
    EXPECT_TRUE(leaving.Frames().empty());
}

// What a fault does to each reader operation the fault matrix checks; here a command tells it:
// each reader fails with the fault's code and what went wrong, and keeps its settings.
TEST_F(ReaderCommands, EachFaultFailsTheCommandWithItsCode) {
    const struct {
        const char* reader;
        const char* device;
        const char* code;
        const char* told;
    } cases[] = {
        // A USB HID reader with nothing to say answers NAK.
        {"usb-hid,fault=no-answer", "usb-hid:0", "nak", "the reader answered NAK"},
        {"usb-hid,fault=wrong-lrc", "usb-hid:1", "bad-lrc", "the answer came corrupted"},
        {"usb-hid,fault=unplug", "usb-hid:2", "gone", "the device is not there"},
        {"usb-rs232,fault=no-answer", "usb-rs232:0", "no-answer", "the reader did not answer"},
        {"usb-rs232,fault=nak", "usb-rs232:1", "nak", "the reader answered NAK"},
        {"usb-rs232,fault=cut-short", "usb-rs232:2", "cut-short", "the answer was cut short"},
        {"usb-rs232,fault=busy", "usb-rs232:3", "busy", "is in use by another program"},
    };
    Strings args = {"apply", ConfigFile(), "--json"};
    for (const auto& c : cases) {
        Attach(c.reader);
        args.insert(args.end(), {"--device", c.device});
    }
    EXPECT_EQ(Run(args), kExitFailed);
    ASSERT_EQ(Json().size(), static_cast<int>(std::size(cases))) << out.str();
    for (int i = 0; i < Json().size(); ++i) {
        EXPECT_EQ(Member(i, "result"), "failed");
        EXPECT_EQ(Member(i, "error"), cases[i].code) << cases[i].reader;
        EXPECT_NE(Member(i, "message").find(cases[i].told), std::string::npos)
            << Member(i, "message");
        EXPECT_EQ(env.Reader(i).Settings().TerminalType, '0') << cases[i].reader;
    }
    EXPECT_EQ(err.str(), "0 of 7 readers configured by apply; 7 failed\n");
    // --quiet keeps the failures only, on standard error.
    env.Reader(1).SetFault(SimulatedFault::None);
    EXPECT_EQ(
        Run({"apply", ConfigFile(), "--device", "usb-hid:1", "--device", "usb-hid:0", "--quiet"}),
        kExitFailed);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), Name(0) +
                             ": Can not read from Ravelfin device! (usb-hid:0): the reader "
                             "answered NAK\n");
}

TEST_F(ReaderCommands, ApplyWorksEightReadersAtOnceAndTellsWhichOneFailedHalfWay) {
    for (int i = 0; i < 6; ++i)
        Attach("usb-hid");
    Attach("usb-hid-kb,firmware=V4.20");
    Attach("usb-rs232");
    // Reads its settings and version, shows the same version before anything is written, then
    // is gone while its new settings go out.
    env.Reader(3).SetFault(SimulatedFault::UnpluggedMidAnswer, 3);
    meeting = std::make_unique<Meeting>(8);

    EXPECT_EQ(Run({"--device", "usb-rs232:0", "apply", ConfigFile(), "--all"}), kExitFailed)
        << err.str();
    // Each line says which reader it is about; the reader named comes first.
    const std::string written = kWrittenText;
    const Strings lines = Lines();
    ASSERT_EQ(lines.size(), 9u) << out.str();
    EXPECT_EQ(lines[0], "usb-rs232:0 /sim/ttyUSB0 (port 9-8, serial SN00000008): " + written);
    EXPECT_EQ(lines[4], Name(3) + ": " + kWriteFailedText + ": the device is not there");
    EXPECT_EQ(lines[7], "usb-hid-kb:6 /sim/hidraw6 (port 9-7, serial SN00000007): " + written +
                            " The reader restarted and was opened again.");
    EXPECT_EQ(lines[8], "7 of 8 readers configured by apply; 1 failed");
    for (std::size_t i = 0; i < env.ReaderCount(); ++i)
        EXPECT_EQ(env.Reader(i).Settings().Track1Prefix, i == 3 ? Bytes{} : Bytes{'#'}) << i;
    // Each worker paused on its own pause, all at once; the machine's pause stayed unused.
    ASSERT_EQ(pauses.size(), 8u);
    for (const auto& pause : pauses)
        EXPECT_TRUE(pause->MetOthers);
    EXPECT_EQ(Waited(kReaderResetWaitMs), 1);
    EXPECT_TRUE(env.RecordedPauses().Waits.empty());
}

// The progress lines themselves are the board's; here they follow the readers' steps, and
// are off the screen before the results.
TEST_F(ReaderCommands, ProgressIsTakenOffBeforeTheResultsAndNeverShownQuiet) {
    Attach("usb-hid");
    Attach("usb-hid");
    rows = 24;
    ASSERT_EQ(Run({"report", "--all", "--quiet"}), kExitOk);
    EXPECT_EQ(out.str().find("\x1b"), std::string::npos) << "--quiet shows no progress";
    ASSERT_EQ(
        Run({"--device", "usb-hid:0", "--device", "usb-hid:/sim/hidraw0", "apply", ConfigFile()}),
        kExitOk);
    EXPECT_EQ(pauses.size(), 1u) << "one reader named twice is worked once";
    EXPECT_TRUE(Printed("usb-hid:0 /sim/hidraw0: writing ...\x1b"));
    const std::string erase = "\x1b[1A\r\x1b[J";
    ASSERT_NE(out.str().rfind(erase), std::string::npos);
    EXPECT_EQ(out.str().substr(out.str().rfind(erase) + erase.size()),
              Name(0) + ": " + kWrittenText + "\n1 of 1 readers configured by apply\n");
}

// SIGTERM in the middle of one reader's write: that reader's write is finished, the other
// readers are written to no more, and every result and the summary are told.
TEST_F(ReaderCommands, ASignalStopsCleanly) {
    for (int i = 0; i < 8; ++i)
        Attach("usb-hid");
    std::promise<void> stopping;
    const std::shared_future<void> stopped = stopping.get_future().share();
    err.onPrint = [&, told = false](const std::string&) mutable {
        if (!std::exchange(told, true))
            stopping.set_value();
    };
    // Worker 0 is signalled once its first set frame (the data editing) is out; the others
    // wait at their first pause until the stop has been taken in. Each worker has its own copy
    // of this function.
    onWait = [&, raised = false](const WorkerPause& pause, int) mutable {
        if (pause.Index != 0) {
            if (pause.Waits.size() == 1)
                stopped.wait_for(std::chrono::seconds(10));
        } else if (!raised && SentSettings(env.Reader(0))) {
            raised = true;
            std::raise(SIGTERM);
        }
    };
    EXPECT_EQ(Run({"apply", ConfigFile(), "--all"}), kExitFailed);
    Strings expected = {Name(0) + ": " + kWrittenText};
    for (int i = 1; i < 8; ++i)
        expected.push_back(Name(i) + ": Stopped before anything was written to it.");
    expected.push_back("1 of 8 readers configured by apply; 7 stopped");
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(env.Reader(0).Settings().Track1Prefix, Bytes{'#'});
    for (std::size_t i = 1; i < env.ReaderCount(); ++i)
        EXPECT_FALSE(SentSettings(env.Reader(i))) << i;
    EXPECT_EQ(err.str(),
              "Stopping: readers in the middle of a write finish it; no other is begun.\n");
}

}  // namespace
}  // namespace ravelfin::cli
