#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ravelfin::cli {

/// What the user asked for, after the command line has been checked.
struct CommandLine {
    std::string command;                   // "show", "convert", ... ; empty with --help/--version
    std::vector<std::string> arguments;    // the command's positional arguments
    std::vector<std::string> simulate;     // --simulate READER, in order
    std::vector<std::string> devices;      // every --device, in order
    bool all = false;                      // --all: every attached USB HID reader
    bool toAll = false;                    // --to-all: every USB HID reader but the source
    bool ifDifferent = false;              // apply: only readers that hold other settings
    std::optional<std::string> applyFile;  // watch --apply FILE
    std::optional<std::string> count;      // watch --count N
    std::optional<std::string> firmware;
    std::optional<std::string> modelClass;
    std::optional<std::string> interface;
    std::optional<std::string> from;
    std::vector<std::string> to;
    std::optional<std::string> securityLevel;
    std::optional<std::string> load;
    std::optional<std::string> fault;  // simulate: how the served reader misbehaves
    bool json = false;
    bool quiet = false;
    bool probeSerial = false;  // list: ask plain RS-232 ports for their firmware too
    bool noProbe = false;      // list: open no device (what shell completion runs)
    bool force = false;
    bool pty = false;
    std::vector<std::string> uhid;  // simulate --uhid TYPE[,OPTIONS], in order
    bool usbSerial = false;         // simulate --usb-serial
    bool help = false;  // with a command: that command's help
    bool version = false;
};

/// Parses the arguments (without the program name). On a usage error returns false with a
/// one-line hint in `error`. --help with a command name asks for that command's help; the
/// command's arguments are not checked then.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

/// The text of --help.
std::string UsageText();

/// The text of COMMAND --help: its usage, what it does and its options.
std::string CommandHelpText(const std::string& command);

}  // namespace ravelfin::cli
