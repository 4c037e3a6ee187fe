#include <sys/wait.h>

#include <fstream>

#include "cli_rig.h"
#include "protocol/command_frame.h"

namespace ravelfin::cli {
namespace {

class FileCommands : public CliRig {
  protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir.File(name), std::ios::binary) << bytes;
        return dir.File(name);
    }

    /// A configuration file holding the given items, framed and checksummed as a reader does.
    std::string WriteConfig(const std::string& name, const std::string& items) {
        std::string frame = std::string("\x02S", 2) + items + "\x03";
        const auto* data = reinterpret_cast<const std::uint8_t*>(frame.data());
        frame += static_cast<char>(ComputeLrc({data, frame.size()}));
        return Write(name, "KORVEXMSRCFG2000" + frame);
    }

    std::string Text(const std::string& name) const {
        const Bytes bytes = ReadFile(dir.File(name));
        return {bytes.begin(), bytes.end()};
    }
};

TEST_F(FileCommands, ShowPrintsTheReportWithUnixLineEndsAndUtf8) {
    // Track 1 prefix: STX, then e-acute in ISO 8859-1; terminal type '5'.
    const std::string file = WriteConfig("named.cfs2", std::string("\x10\x01"
                                                                   "5"
                                                                   "\x34\x03\x02\x02\xE9",
                                                                   8));
    ASSERT_EQ(Run({"show", file, "--firmware", "V3.31", "--interface", "ps2"}), kExitOk)
        << err.str();
    // The options stand for the reader the file is shown for: its formulas and its interface.
    EXPECT_EQ(out.str().find('\r'), std::string::npos);
    for (const char* line :
         {"Track 1 Prefix: \\stx\xC3\xA9\n", "Data Edit-CDL:", "INTERFACE_TYPE: PS/2 Keyboard\n"})
        EXPECT_TRUE(Printed(line)) << line;
    ASSERT_EQ(Run({"show", file, "--firmware", "V4.30", "--model-class", "30000"}), kExitOk);
    EXPECT_TRUE(Printed("PrePAN:4\n") && Printed("INTERFACE_TYPE: USB-HID\n"));
    EXPECT_FALSE(Printed("Data Edit-"));
    ASSERT_EQ(Run({"show", file, "--json"}), kExitOk);
    EXPECT_TRUE(Printed("\"Track1Prefix\": [\n        2,\n        233\n    ]")) << out.str();
}

// Which files are refused is the loader's to say; the command says it on one line.
TEST_F(FileCommands, FilesThatDoNotLoadFailTheCommand) {
    for (const std::string& file :
         {Write("garbage.cfs2", std::string(300, '\xFF')), dir.File("missing.cfs2")}) {
        EXPECT_EQ(Run({"show", file}), kExitFailed) << file;
        EXPECT_EQ(err.str(), "Failed to load configuration from file.\n") << file;
        EXPECT_TRUE(out.str().empty()) << file;
    }
}

TEST_F(FileCommands, NewAndConvertMoveAConfigurationBetweenFirmware) {
    ASSERT_EQ(Run({"new", dir.File("a.cfs2"), "--firmware", "V4.30"}), kExitOk);
    const std::string original = Text("a.cfs2");
    EXPECT_EQ(Run({"new", dir.File("a.cfs2"), "--firmware", "V3.10"}), kExitFailed);
    EXPECT_NE(err.str().find("--force"), std::string::npos);
    EXPECT_EQ(Text("a.cfs2"), original);

    // 4.30 carries the beep mode and the security items; 4.25 carries neither.
    EXPECT_NE(original.find(std::string("\xAE\x01\x02", 3)), std::string::npos);
    ASSERT_EQ(Run({"convert", dir.File("a.cfs2"), dir.File("b.cfs2"), "--firmware", "V4.25"}),
              kExitOk);
    const std::string converted = Text("b.cfs2");
    EXPECT_EQ(converted.find(std::string("\xAE\x01", 2)), std::string::npos);
    EXPECT_EQ(converted.find(std::string("\x7E\x01", 2)), std::string::npos);
    EXPECT_LT(converted.size(), original.size());

    ASSERT_EQ(Run({"new", dir.File("a.cfs2"), "--firmware", "V3.10", "--force"}), kExitOk);
    EXPECT_NE(Text("a.cfs2"), original);
    EXPECT_EQ(
        Run({"convert", dir.File("a.cfs2"), dir.File("no-such-dir/c.cfs2"), "--firmware", "4.3"}),
        kExitFailed);
    EXPECT_EQ(err.str(), "Failed to save configuration to file.\n");
}

TEST_F(FileCommands, UsageErrorsExitTwoWithOneLine) {
    const std::vector<std::string> refused[] = {{},
                                                {"frobnicate"},
                                                {"show", "a", "b"},
                                                {"show", "a", "--bogus"},
                                                {"show", "a", "--firmware"},
                                                {"show", "a", "--interface", "usb"},
                                                {"convert", "a", "b"},
                                                {"new", "a", "--pty"},
                                                {"send", "\\x2", "--all", "--to-all"},
                                                {"watch", "--count", "2"},
                                                {"--simulate", "floppy", "list"}};
    for (const std::vector<std::string>& args : refused) {
        EXPECT_EQ(Run(args), kExitUsage) << (args.empty() ? "" : args[0]);
        const std::string error = err.str();
        EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
    }
}

// What the program does around its commands: a full standard output or a file size limit
// fails the command with its message, however well the rest went.
TEST_F(FileCommands, TheProgramFailsOnAFullOutputAndKeepsAFilePastTheSizeLimit) {
    const std::string program = RAVELFIN_CLI;
    int status =
        std::system((program + " --simulate usb-hid report >/dev/full 2>/dev/null").c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kExitFailed) << status;

    ASSERT_EQ(Run({"new", dir.File("a.cfs2"), "--firmware", "V3.00"}), kExitOk);
    const std::string before = Text("a.cfs2");
    status = std::system(("ulimit -f 0; exec " + program + " new '" + dir.File("a.cfs2") +
                          "' --firmware V4.30 --force >/dev/null 2>&1")
                             .c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kExitFailed) << status;
    EXPECT_EQ(Text("a.cfs2"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
}  // namespace ravelfin::cli
