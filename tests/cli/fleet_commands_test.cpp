#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "cli/cli_runner.h"
#include "fleet_rig.h"
#include "flows/flow_context.h"
#include "flows/flow_messages.h"
#include "protocol/settings_file.h"

namespace ravelfin::cli {
namespace {

class FleetCommands : public FleetRig {
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

TEST_F(FleetCommands, ApplyWorksEightReadersAtOnceAndTellsWhichOneFailedHalfWay) {
    for (int i = 0; i < 6; ++i)
        Attach("usb-hid");
    Attach("usb-hid-kb,firmware=V4.20");
    SimulatedReader& serial = Attach("usb-rs232");
    // Reads its settings and version, shows the same version before anything is written, then
    // is gone while its new settings go out.
    SimulatedReader& failing = env.Reader(3);
    failing.SetFault(SimulatedFault::UnpluggedMidAnswer, 3);
    const ReaderSettings failingBefore = failing.Settings();
    meeting = std::make_unique<Meeting>(8);

    EXPECT_EQ(Run({"--device", "usb-rs232:0", "apply", ConfigFile(), "--all"}), kExitFailed)
        << err.str();
    const std::string written = kWrittenText;
    // Each line says which reader it is about.
    std::vector<std::string> expected = {
        "usb-rs232:0 /sim/ttyUSB0 (port 9-8, serial SN00000008): " + written};
    for (int i = 0; i < 6; ++i) {
        const std::string name = "usb-hid:" + std::to_string(i) + " /sim/hidraw" +
                                 std::to_string(i) + " (port 9-" + std::to_string(i + 1) +
                                 ", serial SN0000000" + std::to_string(i + 1) + ")";
        expected.push_back(name + ": " + (i == 3 ? kWriteFailedText : written));
    }
    expected.push_back("usb-hid-kb:6 /sim/hidraw6 (port 9-7, serial SN00000007): " + written +
                       " The reader restarted and was opened again.");
    expected.push_back("7 of 8 readers configured by apply; 1 failed");
    EXPECT_EQ(Lines(), expected);

    for (std::size_t i = 0; i < env.ReaderCount(); ++i) {
        if (i == 3)
            continue;
        EXPECT_EQ(env.Reader(i).Settings().TerminalType, '6') << i;
        EXPECT_EQ(env.Reader(i).Settings().Track1Prefix, Bytes{'#'}) << i;
    }
    EXPECT_EQ(failing.Settings(), failingBefore);
    EXPECT_EQ(serial.Settings().TerminalType, '6');
    // Each worker paused on its own pause, all at once; the machine's pause stayed unused.
    ASSERT_EQ(pauses.size(), 8u);
    for (const auto& pause : pauses) {
        EXPECT_TRUE(pause->MetOthers);
        EXPECT_NE(std::find(pause->Waits.begin(), pause->Waits.end(), 1000), pause->Waits.end());
    }
    EXPECT_EQ(std::count(pauses[7]->Waits.begin(), pauses[7]->Waits.end(), kReaderResetWaitMs), 1);
    EXPECT_TRUE(env.RecordedPauses().Waits.empty());
}

TEST_F(FleetCommands, JsonHasOneObjectPerReaderAndProgressOnlyWhenAsked) {
    Attach("usb-hid,firmware=V4.27 LUMA");
    Attach("usb-hid,fault=nak");
    ASSERT_EQ(Run({"apply", ConfigFile(), "--all", "--json"}), kExitFailed);
    const QJsonArray results =
        QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).array();
    ASSERT_EQ(results.size(), 2);
    const QJsonObject first = results[0].toObject();
    EXPECT_EQ(first["device"].toString(), "usb-hid:0");
    EXPECT_EQ(first["name"].toString(), "/sim/hidraw0");
    EXPECT_EQ(first["port"].toString(), "9-1");
    EXPECT_EQ(first["serial"].toString(), "SN00000001");
    EXPECT_EQ(results[1].toObject()["serial"].toString(), "SN00000002");
    EXPECT_EQ(first["firmware"].toString(), "V4.27 LUMA");
    EXPECT_TRUE(first["ok"].toBool());
    EXPECT_EQ(first["message"].toString(), kWrittenText);
    EXPECT_FALSE(results[1].toObject()["ok"].toBool());
    EXPECT_EQ(err.str(), "1 of 2 readers configured by apply; 1 failed\n");
    EXPECT_EQ(out.str().find('\x1b'), std::string::npos);

    progress = true;
    // One reader named twice is worked once.
    ASSERT_EQ(
        Run({"--device", "usb-hid:0", "--device", "usb-hid:/sim/hidraw0", "apply", ConfigFile()}),
        kExitOk);
    EXPECT_EQ(pauses.size(), 1u);
    for (const char* step : {"opening ...", "reading ...", "writing ..."}) {
        EXPECT_NE(out.str().find("usb-hid:0 /sim/hidraw0: " + std::string(step)), std::string::npos)
            << step;
    }
    // The progress lines are taken off the screen (cursor up over the one line, erase to the
    // end) before the results come.
    const std::string erase = "\x1b[1A\r\x1b[J";
    ASSERT_NE(out.str().rfind(erase), std::string::npos);
    const std::string tail = out.str().substr(out.str().rfind(erase) + erase.size());
    EXPECT_EQ(tail, "usb-hid:0 /sim/hidraw0 (port 9-1, serial SN00000001): " +
                        std::string(kWrittenText) + "\n1 of 1 readers configured by apply\n");
}

TEST_F(FleetCommands, CloneToAllSkipsTheSourceAndDefaultsAndReportsWorkOnEveryReader) {
    SimulatedReader& keyboard = Attach("usb-hid-kb");
    SimulatedReader& source = Attach("usb-hid");
    SimulatedReader& target = Attach("usb-hid");
    Attach("usb-rs232");  // not USB HID: --to-all leaves it alone
    source.Settings().TrackSelect = '7';
    ASSERT_EQ(Run({"clone", "--from", "usb-hid:1", "--to-all"}), kExitOk) << err.str();
    EXPECT_EQ(
        Lines(),
        (std::vector<std::string>{
            "usb-hid-kb:0 /sim/hidraw0 (port 9-1, serial SN00000001): " + std::string(kClonedText),
            "usb-hid:2 /sim/hidraw2 (port 9-3, serial SN00000003): " + std::string(kClonedText),
            "2 of 2 readers cloned by clone"}));
    EXPECT_EQ(keyboard.Settings().TrackSelect, '7');
    EXPECT_EQ(target.Settings().TrackSelect, '7');
    EXPECT_TRUE(env.Reader(3).Frames().empty());
    // The keyboard reader took the HID format and restarts as a HID reader: let it come back.
    // It comes back under a new node, last in the list: list positions moved, and the readers
    // are named by their serial numbers from here on.
    env.PauseTimePassed(SimulatedEnvironment::kResetAbsenceMs);

    source.SetFault(SimulatedFault::NoAnswer);
    EXPECT_EQ(Run({"clone", "--from", "serial:SN00000002", "--to-all"}), kExitFailed);
    EXPECT_EQ(err.str(), std::string(kSourceReadFailedText) + " (usb-hid:0 /sim/hidraw1)\n");
    source.SetFault(SimulatedFault::None);

    // A reader that refuses the settings took none of them: as with one reader, that fails.
    target.SetFault(SimulatedFault::RefusesSets);
    EXPECT_EQ(Run({"clone", "--from", "serial:SN00000002", "--to-all"}), kExitFailed);
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "usb-hid:1 /sim/hidraw2 (port 9-3, serial SN00000003): Warning! There "
                           "are unknown FuncIDs in the command.",
                           "usb-hid:2 /sim/hidraw3 (port 9-1, serial SN00000001): " +
                               std::string(kClonedText),
                           "1 of 2 readers cloned by clone; 1 failed"}));
    EXPECT_EQ(
        Run({"apply", ConfigFile(), "--device", "serial:SN00000003", "--device", "usb-rs232:0"}),
        kExitFailed);
    EXPECT_NE(out.str().find("usb-hid:1 /sim/hidraw2 (port 9-3, serial SN00000003): Warning! "
                             "There are unknown FuncIDs"),
              std::string::npos)
        << out.str();
    target.SetFault(SimulatedFault::None);

    target.Settings().BeepVolume = '0';
    ASSERT_EQ(Run({"defaults", "--device", "path:9-3", "--device", "usb-rs232:0"}), kExitOk);
    EXPECT_EQ(Lines().back(), "2 of 2 readers restored to factory settings by defaults");
    EXPECT_EQ(target.Settings().BeepVolume, '2');

    ASSERT_EQ(Run({"report", "--all"}), kExitOk);
    EXPECT_NE(out.str().find("usb-hid:1 /sim/hidraw2 (port 9-3, serial SN00000003): V4.30\n"),
              std::string::npos);
    EXPECT_NE(out.str().find("Track Select: All Three Tracks"), std::string::npos);
    EXPECT_EQ(Lines().back(), "3 of 3 readers reported by report");

    EXPECT_EQ(Run({"report", "--device", "usb-hid:0", "--device", "usb:1"}), kExitUsage);
    env.Unplug(0);
    env.Unplug(1);
    env.Unplug(2);
    EXPECT_EQ(Run({"report", "--all"}), kExitFailed);
    EXPECT_NE(err.str().find("No reader to work on"), std::string::npos);
}

}  // namespace
}  // namespace ravelfin::cli

namespace ravelfin::test {
namespace {

TEST(FleetCommandLine, OnlyTheFleetCommandsTakeSeveralReaders) {
    CliResult r = RunCli({"--device", "usb-hid:0", "--device", "usb-hid:1", "save", "x.cfs2"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("'save' works on one reader"), std::string::npos) << r.err;
    r = RunCli({"send", "\\x2", "--all"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("option --all does not apply to 'send'"), std::string::npos) << r.err;
    r = RunCli({"set", "x.cfs2"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("'set' takes at least 2 arguments, got 1"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace ravelfin::test
