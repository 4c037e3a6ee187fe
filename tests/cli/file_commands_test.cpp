#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/cli_runner.h"
#include "protocol/command_frame.h"

namespace ravelfin::test {
namespace {

namespace fs = std::filesystem;

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("ravelfin-files-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    void WriteFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }

    /// A configuration file holding the given items, framed and checksummed as a reader does.
    void WriteConfig(const std::string& name, const std::string& items) const {
        std::string frame = std::string("\x02S", 2) + items + "\x03";
        const auto* data = reinterpret_cast<const std::uint8_t*>(frame.data());
        frame += static_cast<char>(ComputeLrc({data, frame.size()}));
        WriteFile(name, "KORVEXMSRCFG2000" + frame);
    }

    fs::path dir_;
};

TEST_F(FileCommands, ShowPrintsTheReportWithUnixLineEndsAndUtf8) {
    // Track 1 prefix: STX, then e-acute in ISO 8859-1; terminal type '5'.
    WriteConfig("named.cfs2", std::string("\x10\x01" "5" "\x34\x03\x02\x02\xE9", 8));
    auto r = RunCli({"show", Path("named.cfs2"), "--firmware", "V3.31", "--interface", "ps2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("=============Check Current Ravelfin Settings===============\n", 0), 0u);
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
    EXPECT_NE(r.out.find("Terminal Type: IBM PC/AT, External Keyboard\n"), std::string::npos);
    EXPECT_NE(r.out.find("Track 1 Prefix: \\stx\xC3\xA9\n"), std::string::npos);
    EXPECT_NE(r.out.find("Data Edit-CDL:"), std::string::npos);  // 3.31: formulas, slot 1 "CDL"
    EXPECT_NE(r.out.find("INTERFACE_TYPE: PS/2 Keyboard\n"), std::string::npos);
    EXPECT_NE(r.out.find("Firmware Version: V3.31\n"), std::string::npos);

    auto security = RunCli({"show", Path("named.cfs2"), "--firmware", "V4.30", "--model-class", "30000"});
    ASSERT_EQ(security.exitCode, 0);
    EXPECT_NE(security.out.find("PrePAN:4\n"), std::string::npos);
    EXPECT_EQ(security.out.find("Data Edit-"), std::string::npos);
    EXPECT_NE(security.out.find("INTERFACE_TYPE: USB-HID\n"), std::string::npos);
}

TEST_F(FileCommands, JsonNamesEveryFieldAndKeepsBytes) {
    WriteConfig("j.cfs2", std::string("\x11\x01" "3" "\x39\x03\x02\x00\xFF" "\xFA\x09\x02" "AB\0\0\0\0\0\0", 19));
    auto r = RunCli({"show", Path("j.cfs2"), "--json", "--model-class", "10000"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* member : {"\"TerminalType\": 48", "\"BeepVolume\": 51", "\"Track3Suffix\": [\n        0,\n        255\n    ]",
                               "\"mode\": 48", "\"ModelClass\": 10000", "\"SerialNumber\"",
                               "\"KbPollIntervalRead\"", "\"custom2\"", "\"lengthLimits\"",
                               "\"matchStrings\"", "\"formulas\"", "\"InterfaceType\": 5"}) {
        EXPECT_NE(r.out.find(member), std::string::npos) << member;
    }
    EXPECT_NE(r.out.find("\"addedFields\": [\n        [\n            65,\n            66\n        ]\n    ]"),
              std::string::npos);
}

TEST_F(FileCommands, HostileAndMissingFilesFailWithoutCrashing) {
    WriteFile("empty.cfs2", "");
    WriteFile("garbage.cfs2", std::string(300, '\xFF'));
    WriteFile("header-only.cfs2", "KORVEXMSRCFG2000");
    WriteFile("wrong-version.cfs2", "KORVEXMSRCFG2001\x02S\x03\x50");
    WriteFile("huge.cfs2", "KORVEXMSRCFG2000\x02S" + std::string(1100, '\x34'));
    // An item that claims more bytes than the file holds.
    WriteFile("overrun.cfs2", std::string("KORVEXMSRCFG2000\x02S\xFB\xF0\xF3\x20\x01\xFE", 24));
    for (const char* name : {"empty.cfs2", "garbage.cfs2", "header-only.cfs2",
                             "wrong-version.cfs2", "huge.cfs2", "overrun.cfs2", "missing.cfs2"}) {
        auto r = RunCli({"show", Path(name)});
        EXPECT_EQ(r.exitCode, 1) << name;
        EXPECT_EQ(r.err, "Failed to load configuration from file.\n") << name;
        EXPECT_TRUE(r.out.empty()) << name;
    }
}

TEST_F(FileCommands, NewAndConvertMoveAConfigurationBetweenFirmware) {
    ASSERT_EQ(RunCli({"new", Path("a.cfs2"), "--firmware", "V4.30"}).exitCode, 0);
    const std::string original = ReadWhole(Path("a.cfs2"));
    auto refused = RunCli({"new", Path("a.cfs2"), "--firmware", "V3.10"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos);
    EXPECT_EQ(ReadWhole(Path("a.cfs2")), original);

    // 4.30 carries the beep mode and the security items; 4.25 carries neither.
    EXPECT_NE(original.find(std::string("\xAE\x01\x02", 3)), std::string::npos);
    ASSERT_EQ(RunCli({"convert", Path("a.cfs2"), Path("b.cfs2"), "--firmware", "V4.25"}).exitCode, 0);
    const std::string converted = ReadWhole(Path("b.cfs2"));
    EXPECT_EQ(converted.find(std::string("\xAE\x01", 2)), std::string::npos);
    EXPECT_EQ(converted.find(std::string("\x7E\x01", 2)), std::string::npos);
    EXPECT_LT(converted.size(), original.size());

    ASSERT_EQ(RunCli({"new", Path("a.cfs2"), "--firmware", "V3.10", "--force"}).exitCode, 0);
    EXPECT_NE(ReadWhole(Path("a.cfs2")), original);

    auto unwritable = RunCli({"convert", Path("a.cfs2"), Path("no-such-dir/c.cfs2"), "--firmware", "4.3"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.err, "Failed to save configuration to file.\n");
}

TEST_F(FileCommands, UsageErrorsExitTwoWithOneLine) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"show"},
                                               {"show", "a", "b"},
                                               {"show", "a", "--bogus"},
                                               {"show", "a", "--firmware"},
                                               {"show", "a", "--interface", "usb"},
                                               {"show", "a", "--model-class", "ten"},
                                               {"convert", "a", "b"},
                                               {"new", "a", "--pty"},
                                               {"--simulate", "floppy", "list"}}) {
        auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    auto help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: ravelfin"), std::string::npos);
    EXPECT_EQ(RunCli({"--version"}).exitCode, 0);
}

// A file size limit stops the write half way: the save fails with its message and the file
// that was there stays as it was.
TEST_F(FileCommands, AFileSizeLimitFailsTheSaveAndKeepsTheFile) {
    ASSERT_EQ(RunCli({"new", Path("a.cfs2"), "--firmware", "V3.00"}).exitCode, 0);
    const std::string before = ReadWhole(Path("a.cfs2"));
    const std::string command = "ulimit -f 0; exec " + ShellQuote(RAVELFIN_CLI) + " new " +
                                ShellQuote(Path("a.cfs2")) +
                                " --firmware V4.30 --force >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(ReadWhole(Path("a.cfs2")), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);
}

}  // namespace
}  // namespace ravelfin::test
