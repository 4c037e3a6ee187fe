#include "cli/cli_runner.h"
#include "fleet_rig.h"
#include "protocol/settings_file.h"

namespace ravelfin::cli {
namespace {

class DiffAndSet : public FleetRig {
  protected:
    std::string Save(const char* name, const ReaderSettings& settings) {
        const std::string path = dir.File(name);
        EXPECT_TRUE(SaveSettingsFile(settings, path));
        return path;
    }
    ReaderSettings Load(const std::string& path) {
        ReaderSettings settings;
        EXPECT_TRUE(LoadSettingsFile(settings, path));
        return settings;
    }
};

TEST_F(DiffAndSet, DiffNamesWhatDiffersAndComparesAFileAsTheReadersFirmwareStoresIt) {
    ReaderSettings a;
    a.FirmwareVersionNumber = 4.3;
    a.BeepMode = 4;  // a 4.3 reader's beep; a 4.20 reader keeps none
    a.PrePan = 6;    // no security settings below 4.26
    const std::string fileA = Save("a.cfs2", a);
    ASSERT_EQ(Run({"diff", fileA, fileA}), kExitOk);
    EXPECT_EQ(out.str(), "");

    ReaderSettings b = a;
    b.TerminalType = '5';
    b.Track2Suffix = {0x0D, 0x0A};
    ASSERT_EQ(Run({"diff", fileA, Save("b.cfs2", b)}), kExitFailed);
    EXPECT_EQ(out.str(), "TerminalType: 48 -> 53\nTrack2Suffix: [] -> [13,10]\n");
    ASSERT_EQ(Run({"diff", fileA, dir.File("b.cfs2"), "--json"}), kExitFailed);
    EXPECT_NE(out.str().find("\"TerminalType\": {\n        \"a\": 48,\n        \"b\": 53"),
              std::string::npos)
        << out.str();

    Attach("usb-hid,firmware=V4.20");
    ASSERT_EQ(Run({"diff", fileA, "reader:"}), kExitOk) << out.str() << err.str();
    env.Reader(0).Settings().Track1Prefix = {'%'};
    ASSERT_EQ(Run({"diff", "reader:usb-hid:0", fileA}), kExitFailed);
    EXPECT_EQ(out.str(), "Track1Prefix: [37] -> []\n");

    env.Reader(0).SetFault(SimulatedFault::NoAnswer);
    EXPECT_EQ(Run({"diff", fileA, "reader:"}), kExitUsage);
    EXPECT_EQ(Run({"diff", fileA, dir.File("missing.cfs2")}), kExitUsage);
    EXPECT_EQ(err.str(),
              "Failed to load configuration from file. (" + dir.File("missing.cfs2") + ")\n");
}

TEST_F(DiffAndSet, SetChangesSettingsByNameAndRefusesWhatTheFileCannotHold) {
    ReaderSettings original;
    original.FirmwareVersionNumber = 4.3;
    original.BeepMode = 4;
    const std::string path = Save("c.cfs2", original);
    ASSERT_EQ(Run({"set", path, "TerminalType=0x35", "Track1Prefix=\\x2ABC", "Preamble=[1, 0x0a]",
                   "Track3Suffix=\\cr\\x0", "Postamble=\\\\14 chars long!"}),
              kExitOk)
        << err.str();
    ReaderSettings changed = Load(path);
    EXPECT_EQ(changed.TerminalType, '5');
    EXPECT_EQ(changed.Track1Prefix, (Bytes{0x2A, 'B', 'C'}));
    EXPECT_EQ(changed.Preamble, (Bytes{1, 10}));
    EXPECT_EQ(changed.Track3Suffix, (Bytes{0x0D, 0x00}));
    EXPECT_EQ(changed.Postamble.size(), 15u);
    EXPECT_EQ(changed.BeepMode, 4) << "saved for the firmware the file was made for";
    EXPECT_NE(out.str().find("TerminalType: 48 -> 53\n"), std::string::npos);

    const std::string before = test::ReadWhole(path);
    const char* refused[][2] = {
        {"Volume=1", "unknown setting 'Volume'"},
        {"BeepVolume=256", "BeepVolume: '256' is out of range; it holds a number from 0 to 255"},
        {"Track2Prefix=1234567", "Track2Prefix: 7 bytes is too long; it holds at most 6"},
        {"Preamble=[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16]", "Preamble: 16 bytes is too long"},
        {"Preamble=[300]", "'300' is not a byte"},
        {"formulas=[1]", "formulas cannot be set here"},
        {"KbPollIntervalRead=3", "KbPollIntervalRead cannot be set here"},
        {"BeepVolume=49", "BeepVolume: a file for firmware 4.3 does not store it"},
        {"TerminalType", "'TerminalType' is not NAME=VALUE"},
    };
    for (const auto& [assignment, message] : refused) {
        EXPECT_EQ(Run({"set", path, "TrackSelect=55", assignment}), kExitUsage) << assignment;
        EXPECT_NE(err.str().find(message), std::string::npos) << err.str();
        EXPECT_NE(err.str().find(path + " is unchanged"), std::string::npos);
        EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << "one line";
    }
    EXPECT_EQ(test::ReadWhole(path), before);
    ASSERT_EQ(Run({"set", path, "BeepVolume=49", "--firmware", "V4.20"}), kExitOk);
    EXPECT_EQ(Load(path).BeepVolume, '1');
}

}  // namespace
}  // namespace ravelfin::cli
