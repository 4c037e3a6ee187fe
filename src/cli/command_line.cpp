#include "cli/command_line.h"

#include <cctype>
#include <map>
#include <set>

#include "fleet/device_choice.h"

namespace ravelfin::cli {

namespace {

/// A command: the arguments and options it takes, and its help. `summary` is what --help
/// shows for it (lines of at most 52 characters); `details` what the command's own help adds.
struct CommandRule {
    std::size_t least;
    std::size_t most;
    std::set<std::string> options;
    bool onReaders;
    const char* synopsis;
    const char* summary;
    const char* details;
};

constexpr std::size_t kMany = 1000;

const std::map<std::string, CommandRule>& Commands() {
    static const std::map<std::string, CommandRule> kCommands = {
        {"show",
         {1,
          1,
          {"firmware", "model-class", "interface", "json"},
          false,
          "show FILE [--firmware TEXT] [--model-class N] [--interface TYPE] [--json]",
          "print the settings report of a configuration file",
          "  --firmware TEXT, --model-class N\n"
          "                        the reader the report is for (they decide the\n"
          "                        settings that depend on firmware and model)\n"
          "  --interface TYPE      how that reader is attached (default usb-hid)\n"
          "  --json                the settings as one JSON object\n"}},
        {"convert",
         {2,
          2,
          {"firmware"},
          false,
          "convert IN OUT --firmware TEXT",
          "re-save a configuration for a reader with other firmware",
          ""}},
        {"new",
         {1,
          1,
          {"firmware", "force", "interface"},
          false,
          "new FILE --firmware TEXT [--force] [--interface TYPE]",
          "save the factory defaults for that firmware",
          "  --force               replace an existing file\n"}},
        {"set",
         {2,
          kMany,
          {"firmware"},
          false,
          "set FILE NAME=VALUE... [--firmware TEXT]",
          "change settings of a configuration file by their\n"
          "show --json names; VALUE is a number (decimal or 0x\n"
          "hex), or for a byte string [1,2,3] or text such as \\x02ABC",
          "A file that would come out the same is not written again; a symbolic link\n"
          "is followed and its target replaced.\n"
          "  --firmware TEXT       save for other firmware than the file's\n"}},
        {"list",
         {0,
          0,
          {"json", "probe-serial", "no-probe"},
          true,
          "list [--json] [--probe-serial | --no-probe]",
          "list the attached readers with their firmware versions,\n"
          "USB port paths and serial numbers; a plain RS-232 port is\n"
          "asked for its firmware only when named with --device or\n"
          "with --probe-serial; --no-probe opens no device at all",
          ""}},
        {"report",
         {0,
          0,
          {"all", "json"},
          true,
          "report [--all] [--json]",
          "read the readers and print their settings reports",
          ""}},
        {"save",
         {1,
          1,
          {"json"},
          true,
          "save FILE [--json]",
          "read one reader and save its configuration",
          ""}},
        {"apply",
         {1,
          1,
          {"all", "if-different", "json"},
          true,
          "apply FILE [--all] [--if-different] [--json]",
          "send a configuration file to the readers; with\n"
          "--if-different only to those that hold other settings",
          "  --if-different        write only readers whose settings differ from the\n"
          "                        file's (as diff compares them); the others are\n"
          "                        left alone, with \"changed\": false\n"}},
        {"defaults",
         {0,
          0,
          {"all", "json"},
          true,
          "defaults [--all] [--json]",
          "restore the readers' factory settings",
          ""}},
        {"send",
         {1,
          1,
          {"all", "json"},
          true,
          "send COMMAND [--all] [--json]",
          "send a raw command, for example \"\\x2\\x52\\x22\\x3\"",
          ""}},
        {"diff",
         {1,
          2,
          {"all", "json"},
          true,
          "diff A [B] [--all] [--json]",
          "compare two configurations: two files, or a file and\n"
          "reader:DEVICE (reader: alone is the only USB reader);\n"
          "diff FILE compares FILE with the readers --device and\n"
          "--all name",
          "Against readers it compares only what each reader holds (by its firmware,\n"
          "model class and security) and prints a result line per reader.\n"
          "Exit status: 0 equal, 1 different, 2 trouble.\n"}},
        {"clone",
         {0,
          0,
          {"from", "to", "to-all", "json"},
          true,
          "clone --from DEVICE (--to DEVICE... | --to-all) [--json]",
          "copy one reader's settings to other readers",
          ""}},
        {"watch",
         {0,
          0,
          {"apply", "count", "json"},
          true,
          "watch [--apply FILE] [--count N] [--json]",
          "print readers arriving and leaving; with --apply,\n"
          "configure each reader as it arrives; --count ends\n"
          "after N readers were configured; Ctrl+C ends it",
          "  --json                one JSON object a line for each arrival, departure\n"
          "                        and result\n"}},
        {"simulate",
         {0,
          0,
          {"pty", "uhid", "usb-serial", "interface", "firmware", "security-level", "load",
           "fault"},
          false,
          "simulate --pty [--interface rs232|usb-rs232] [--firmware TEXT]\n"
          "           [--security-level D] [--load FILE] [--fault FAULT]\n"
          "  simulate --uhid TYPE[,OPTIONS] [--uhid TYPE[,OPTIONS]]...\n"
          "  simulate --usb-serial [--firmware TEXT] [--security-level D]\n"
          "           [--load FILE]",
          "serve a simulated serial reader on a pseudo-terminal;\n"
          "with --uhid, show simulated usb-hid or usb-hid-kb\n"
          "readers to the whole system as HID devices through\n"
          "/dev/uhid (OPTIONS as for --simulate), printing each\n"
          "/dev/hidrawN as it appears; with --usb-serial, serve\n"
          "one on a USB serial gadget (configfs, dummy_hcd),\n"
          "printing the host-side port",
          ""}},
    };
    return kCommands;
}

/// The order --help lists the commands in.
constexpr const char* kFileCommands[] = {"show", "convert", "new", "set"};
constexpr const char* kReaderCommands[] = {"list", "report", "save",  "apply", "defaults",
                                           "send", "diff",   "clone", "watch", "simulate"};

const std::set<std::string> kValueOptions = {"simulate",  "device", "firmware", "model-class",
                                             "interface", "from",   "to",       "security-level",
                                             "load",      "apply",  "count",    "fault",
                                             "uhid"};
const std::set<std::string> kFlagOptions = {"json",     "force", "pty",         "help",
                                            "version",  "all",   "to-all",      "probe-serial",
                                            "no-probe", "quiet", "if-different", "usb-serial"};
const std::set<std::string> kGlobalOptions = {"simulate", "device", "help", "version", "quiet"};
const std::set<std::string> kDeviceOptions = {"device", "from", "to"};

void Store(CommandLine& out, const std::string& name, const std::string& value) {
    static const std::map<std::string, bool CommandLine::*> kFlags = {
        {"json", &CommandLine::json},
        {"quiet", &CommandLine::quiet},
        {"force", &CommandLine::force},
        {"pty", &CommandLine::pty},
        {"help", &CommandLine::help},
        {"version", &CommandLine::version},
        {"all", &CommandLine::all},
        {"to-all", &CommandLine::toAll},
        {"if-different", &CommandLine::ifDifferent},
        {"probe-serial", &CommandLine::probeSerial},
        {"no-probe", &CommandLine::noProbe},
        {"usb-serial", &CommandLine::usbSerial},
    };
    static const std::map<std::string, std::optional<std::string> CommandLine::*> kValues = {
        {"firmware", &CommandLine::firmware},
        {"model-class", &CommandLine::modelClass},
        {"interface", &CommandLine::interface},
        {"from", &CommandLine::from},
        {"security-level", &CommandLine::securityLevel},
        {"load", &CommandLine::load},
        {"fault", &CommandLine::fault},
        {"apply", &CommandLine::applyFile},
        {"count", &CommandLine::count},
    };
    if (name == "simulate")
        out.simulate.push_back(value);
    else if (name == "device")
        out.devices.push_back(value);
    else if (name == "to")
        out.to.push_back(value);
    else if (name == "uhid")
        out.uhid.push_back(value);
    else if (kFlags.count(name))
        out.*kFlags.at(name) = true;
    else
        out.*kValues.at(name) = value;
}

/// The help lines of one command: its synopsis, then its summary from column 24.
std::string SummaryLines(const CommandRule& rule) {
    std::string text = std::string("  ") + rule.synopsis;
    const std::size_t lastLine = text.size() - text.rfind('\n') - 1;
    std::string summary = rule.summary;
    std::string indent(24, ' ');
    if (lastLine < 22 && text.find('\n') == std::string::npos) {
        text += std::string(24 - lastLine, ' ');
    } else {
        text += "\n" + indent;
    }
    for (char c : summary) {
        text += c;
        if (c == '\n')
            text += indent;
    }
    return text + "\n";
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    std::vector<std::string> positionals;
    std::set<std::string> seen;
    bool onlyPositionals = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyPositionals || arg.size() < 2 || arg[0] != '-' || arg[1] != '-') {
            if (arg == "-h" && !onlyPositionals) {
                out.help = true;
                continue;
            }
            positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyPositionals = true;
            continue;
        }
        std::string name = arg.substr(2);
        std::optional<std::string> value;
        if (auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (kValueOptions.count(name)) {
            if (!value) {
                if (i + 1 >= args.size()) {
                    error = "option --" + name + " needs a value";
                    return false;
                }
                value = args[++i];
            }
        } else if (kFlagOptions.count(name)) {
            if (value) {
                error = "option --" + name + " takes no value";
                return false;
            }
        } else {
            error = "unknown option --" + name;
            return false;
        }
        const bool repeatable =
            name == "simulate" || name == "to" || name == "device" || name == "uhid";
        if (!repeatable && !seen.insert(name).second) {
            error = "option --" + name + " given twice";
            return false;
        }
        seen.insert(name);
        if (kDeviceOptions.count(name)) {
            DeviceChoice choice;
            if (!ParseDeviceOption(*value, choice, error))
                return false;
        }
        Store(out, name, value.value_or(""));
    }
    if (out.version)
        return true;
    if (positionals.empty()) {
        if (out.help)
            return true;
        error = "no command given";
        return false;
    }
    out.command = positionals.front();
    out.arguments.assign(positionals.begin() + 1, positionals.end());
    auto rule = Commands().find(out.command);
    if (rule == Commands().end()) {
        error = "unknown command '" + out.command + "'";
        return false;
    }
    if (out.help)
        return true;
    const std::size_t least = rule->second.least;
    const std::size_t most = rule->second.most;
    if (out.arguments.size() < least || out.arguments.size() > most) {
        const std::string range = least == most ? std::to_string(least)
                                  : most == kMany
                                      ? "at least " + std::to_string(least)
                                      : std::to_string(least) + " or " + std::to_string(most);
        error = "'" + out.command + "' takes " + range + " argument" +
                (least == 1 && most == 1 ? "" : "s") + ", got " +
                std::to_string(out.arguments.size());
        return false;
    }
    for (const std::string& name : seen) {
        if (!kGlobalOptions.count(name) && !rule->second.options.count(name)) {
            error = "option --" + name + " does not apply to '" + out.command + "'";
            return false;
        }
    }
    return true;
}

std::string UsageText() {
    std::string text =
        "Usage: ravelfin [--simulate READER]... [--device DEVICE]... COMMAND [ARGS]\n"
        "\n"
        "Configures Orvane Ravelfin magnetic-stripe card readers.\n"
        "\n"
        "Commands on configuration files (no reader needed):\n";
    for (const char* name : kFileCommands)
        text += SummaryLines(Commands().at(name));
    text += "\nCommands on readers (one reader or many, the same way):\n";
    for (const char* name : kReaderCommands)
        text += SummaryLines(Commands().at(name));
    return text + R"(
Global options:
  --simulate READER     use only simulated readers; READER is
                        TYPE[,firmware=TEXT][,pid=HEX][,security-level=D][,load=FILE]
                        [,arrive=MS][,leave=MS][,fault=FAULT] with TYPE rs232,
                        usb-rs232, usb-hid-kb or usb-hid, MS milliseconds after the
                        start, FAULT no-answer, nak, wrong-lrc, cut-short, unplug or busy
                        (repeatable)
  --device DEVICE       TYPE:INDEX or TYPE:NAME (a port name or device path),
                        serial:SN (USB serial number) or path:PORTPATH (USB port
                        path such as 1-2.4, or a serial port's stable name);
                        repeat it to work on several readers at once; without it
                        a command works on the only USB reader attached
  --all                 every attached USB HID reader besides those named
                        (serial readers only when named with --device)
  --json                one JSON object per reader with its device, firmware,
                        result, changed, error and message
  --quiet               no progress, no result lines of readers that succeeded
                        and no summary; failures are still told on standard error
  --help, --version     COMMAND --help tells about one command

Interface types: rs232, ps2, usb-hid-kb, usb-rs232, usb-hid.
Exit status: 0 success, 1 the operation failed (on any reader) or was
stopped (SIGINT, SIGTERM), 2 usage error; diff: 0 equal, 1 different, 2 trouble.
)";
}

std::string CommandHelpText(const std::string& command) {
    const CommandRule& rule = Commands().at(command);
    std::string summary = rule.summary;
    summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
    std::string text = std::string("Usage: ravelfin ") +
                       (rule.onReaders ? "[--simulate READER]... [--device DEVICE]... " : "") +
                       rule.synopsis + "\n\n" + summary + ".\n";
    if (*rule.details)
        text += std::string("\n") + rule.details;
    return text +
           "\nGlobal options: --simulate READER, --device DEVICE, --quiet, --help (see "
           "ravelfin --help).\n";
}

}  // namespace ravelfin::cli
