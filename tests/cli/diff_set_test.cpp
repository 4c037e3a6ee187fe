#include <sys/stat.h>

#include "cli_rig.h"
#include "protocol/command_frame.h"
#include "protocol/settings_file.h"

namespace ravelfin::cli {
namespace {

class DiffAndSet : public CliRig {
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
    bool Changed() const { return Json()[0].toObject()["changed"].toBool(); }
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
    EXPECT_TRUE(Printed("\"TerminalType\": {\n        \"a\": 48,\n        \"b\": 53")) << out.str();

    Attach("usb-hid,firmware=V4.20");
    ASSERT_EQ(Run({"diff", fileA, "reader:", "--quiet"}), kExitOk) << out.str() << err.str();
    EXPECT_EQ(out.str(), "");
    env.Reader(0).Settings().Track1Prefix = {'%'};
    // The values come in the order of the arguments; the result line says how many differ.
    ASSERT_EQ(Run({"diff", "reader:usb-hid:0", fileA}), kExitFailed);
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{
                  "usb-hid:0 /sim/hidraw0 (port 9-1, serial SN00000001): 1 setting differs",
                  "Track1Prefix: [37] -> []", "1 of 1 readers compared by diff"}));
    ASSERT_EQ(Run({"diff", fileA, "--all", "--json"}), kExitFailed);
    const QJsonObject result = Json()[0].toObject();
    EXPECT_FALSE(result["match"].toBool());
    EXPECT_EQ(result["differences"].toArray(),
              (QJsonArray{QJsonObject{
                  {"name", "Track1Prefix"}, {"file", QJsonArray{}}, {"reader", QJsonArray{37}}}}));

    env.Reader(0).SetFault(SimulatedFault::NoAnswer);
    EXPECT_EQ(Run({"diff", fileA, "reader:"}), kExitUsage);
    EXPECT_EQ(Run({"diff", fileA, dir.File("missing.cfs2")}), kExitUsage);
    EXPECT_EQ(err.str(),
              "Failed to load configuration from file. (" + dir.File("missing.cfs2") + ")\n");
    EXPECT_EQ(Run({"diff", "reader:", "reader:usb-hid:0"}), kExitUsage);
}

// A file made by new or set, applied to a reader, is what diff then finds there, whatever the
// reader holds and does not; and apply --if-different leaves such a reader alone.
TEST_F(DiffAndSet, AfterAnApplyTheReaderMatchesTheFile) {
    const std::string plain = dir.File("new.cfs2");
    ASSERT_EQ(Run({"new", plain, "--firmware", "V4.30"}), kExitOk);
    const std::string old = dir.File("old.cfs2");
    ASSERT_EQ(Run({"new", old, "--firmware", "V3.10"}), kExitOk);
    const std::string changed = dir.File("set.cfs2");
    ASSERT_EQ(Run({"new", changed, "--firmware", "V4.30"}), kExitOk);
    ASSERT_EQ(Run({"set", changed, "TerminalType=0x35", "Track1Prefix=\\x2AB", "BeepMode=6",
                   "Encryption=0x31", "PrePan=5", "Preamble=[13,10]"}),
              kExitOk)
        << err.str();
    const char* readers[] = {"usb-hid",           // security, 4.3: the beep mode, no beep volume
                             "usb-hid,pid=4205",  // a formula reader: no security settings
                             "usb-hid,firmware=V4.27 LUMA",
                             "usb-hid,firmware=V4.20,security-level=3",
                             "usb-hid-kb,firmware=V3.31",
                             "usb-rs232",
                             "rs232,firmware=V3.10"};
    for (const char* reader : readers)
        Attach(reader);
    for (std::size_t i = 0; i < env.ReaderCount(); ++i) {
        const std::string device = "serial:SN0000000" + std::to_string(i + 1);
        const std::string named =
            i + 1 == env.ReaderCount() ? "rs232:/sim/ttyS1" : device;  // no USB serial number
        for (const std::string& file : {plain, old, changed}) {
            ASSERT_EQ(Run({"--device", named, "apply", file}), kExitOk) << readers[i] << out.str();
            EXPECT_EQ(Run({"diff", file, "reader:" + named}), kExitOk)
                << readers[i] << " " << file << "\n"
                << out.str();
            const std::size_t frames = env.Reader(i).Frames().size();
            ASSERT_EQ(Run({"--device", named, "apply", file, "--if-different", "--json"}), kExitOk);
            EXPECT_FALSE(Changed()) << readers[i];
            EXPECT_FALSE(SentSettings(env.Reader(i), frames))
                << readers[i] << ": --if-different wrote to a reader that holds the file";
        }
    }
    // A formula reader has no security settings, and no apply writes a security level: neither
    // counts as a difference.
    env.Reader(1).Settings().PrePan = 9;
    env.Reader(0).Settings().SecurityLevel = '2';
    EXPECT_EQ(
        Run({"diff", changed, "--device", "serial:SN00000001", "--device", "serial:SN00000002"}),
        kExitOk)
        << out.str();
    env.Reader(0).Settings().PrePan = 9;
    EXPECT_EQ(Run({"diff", changed, "--device", "serial:SN00000001"}), kExitFailed);
    EXPECT_EQ(Lines()[1], "PrePan: 5 -> 9");

    // A reader that differs is written, and says so.
    env.Reader(0).Settings().TerminalType = '0';
    ASSERT_EQ(Run({"--device", "usb-hid:0", "apply", changed, "--if-different", "--json"}),
              kExitOk);
    EXPECT_TRUE(Changed());
    EXPECT_EQ(env.Reader(0).Settings().TerminalType, '5');
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
    EXPECT_TRUE(Printed("TerminalType: 48 -> 53\n"));

    const Bytes before = ReadFile(path);
    const char* refused[][2] = {
        {"Volume=1", "unknown setting 'Volume'"},
        {"BeepVolume=256", "BeepVolume: '256' is out of range; it holds a number from 0 to 255"},
        {"Track2Prefix=1234567", "Track2Prefix: 7 bytes is too long; it holds at most 6"},
        {"Preamble=[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16]", "Preamble: 16 bytes is too long"},
        {"Preamble=[300]", "'300' is not a byte"},
        {"BeepVolume=49", "BeepVolume: a file for firmware 4.3 does not store it"},
        {"TerminalType", "'TerminalType' is not NAME=VALUE"},
    };
    for (const auto& [assignment, message] : refused) {
        EXPECT_EQ(Run({"set", path, "TrackSelect=55", assignment}), kExitUsage) << assignment;
        EXPECT_NE(err.str().find(message), std::string::npos) << err.str();
        EXPECT_NE(err.str().find(path + " is unchanged"), std::string::npos);
        EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << "one line";
    }
    EXPECT_EQ(ReadFile(path), before);

    // Through a symbolic link the file it points at is changed, and the link stays; a file that
    // would come out the same is not written again at all.
    const std::string link = dir.File("link.cfs2");
    std::filesystem::create_symlink("c.cfs2", link);
    ASSERT_EQ(Run({"set", link, "BeepVolume=49", "--firmware", "V4.20"}), kExitOk) << err.str();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Load(path).BeepVolume, '1');
    struct stat first {};
    ASSERT_EQ(::stat(path.c_str(), &first), 0);
    ASSERT_EQ(Run({"set", link, "BeepVolume=49", "--quiet"}), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "");
    struct stat again {};
    ASSERT_EQ(::stat(path.c_str(), &again), 0);
    EXPECT_EQ(again.st_ino, first.st_ino);
}

}  // namespace
}  // namespace ravelfin::cli
