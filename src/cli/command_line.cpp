#include "cli/command_line.h"

#include <map>
#include <set>

namespace ravelfin::cli {

namespace {

struct CommandRule {
    std::size_t positionals;
    std::set<std::string> options;
};

const std::map<std::string, CommandRule>& Commands() {
    static const std::map<std::string, CommandRule> kCommands = {
        {"show", {1, {"firmware", "model-class", "interface", "json"}}},
        {"convert", {2, {"firmware"}}},
        {"new", {1, {"firmware", "force", "interface"}}},
        {"list", {0, {"json"}}},
        {"report", {0, {}}},
        {"save", {1, {}}},
        {"apply", {1, {}}},
        {"defaults", {0, {}}},
        {"send", {1, {}}},
        {"clone", {0, {"from", "to"}}},
        {"simulate", {0, {"pty", "interface", "firmware", "security-level", "load"}}},
    };
    return kCommands;
}

const std::set<std::string> kValueOptions = {"simulate", "device",         "firmware", "model-class",
                                             "interface", "from",          "to",       "security-level",
                                             "load"};
const std::set<std::string> kFlagOptions = {"json", "force", "pty", "help", "version"};
const std::set<std::string> kGlobalOptions = {"simulate", "device", "help", "version"};

void Store(CommandLine& out, const std::string& name, const std::string& value) {
    if (name == "simulate") out.simulate.push_back(value);
    else if (name == "device") out.device = value;
    else if (name == "firmware") out.firmware = value;
    else if (name == "model-class") out.modelClass = value;
    else if (name == "interface") out.interface = value;
    else if (name == "from") out.from = value;
    else if (name == "to") out.to.push_back(value);
    else if (name == "security-level") out.securityLevel = value;
    else if (name == "load") out.load = value;
    else if (name == "json") out.json = true;
    else if (name == "force") out.force = true;
    else if (name == "pty") out.pty = true;
    else if (name == "help") out.help = true;
    else if (name == "version") out.version = true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    std::vector<std::string> positionals;
    std::set<std::string> seen;
    bool onlyPositionals = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyPositionals || arg.size() < 2 || arg[0] != '-' || arg[1] != '-') {
            if (arg == "-h") {
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
        const bool repeatable = name == "simulate" || name == "to";
        if (!repeatable && !seen.insert(name).second) {
            error = "option --" + name + " given twice";
            return false;
        }
        seen.insert(name);
        Store(out, name, value.value_or(""));
    }
    if (out.help || out.version) return true;
    if (positionals.empty()) {
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
    if (out.arguments.size() != rule->second.positionals) {
        error = "'" + out.command + "' takes " + std::to_string(rule->second.positionals) +
                " argument" + (rule->second.positionals == 1 ? "" : "s") + ", got " +
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
    return R"(Usage: ravelfin [--simulate READER]... [--device DEVICE] COMMAND [ARGS]

Configures Orvane Ravelfin magnetic-stripe card readers.

Commands on configuration files (no reader needed):
  show FILE [--firmware TEXT] [--model-class N] [--interface TYPE] [--json]
                        print the settings report of a configuration file
  convert IN OUT --firmware TEXT
                        re-save a configuration for a reader with other firmware
  new FILE --firmware TEXT [--force]
                        save the factory defaults for that firmware

Commands on readers:
  list [--json]         list the attached readers with their firmware versions
  report                read the reader and print its settings report
  save FILE             read the reader and save its configuration
  apply FILE            send a configuration file to the reader
  defaults              restore the reader's factory settings
  send COMMAND          send a raw command, for example "\x2\x52\x22\x3"
  clone --from DEVICE --to DEVICE [--to DEVICE]...
                        copy one reader's settings to other readers
  simulate --pty [--interface rs232|usb-rs232] [--firmware TEXT]
           [--security-level D] [--load FILE]
                        serve a simulated serial reader on a pseudo-terminal

Global options:
  --simulate READER     use only simulated readers; READER is
                        TYPE[,firmware=TEXT][,pid=HEX][,security-level=D][,load=FILE]
                        with TYPE rs232, usb-rs232, usb-hid-kb or usb-hid (repeatable)
  --device DEVICE       TYPE:INDEX or TYPE:NAME (a port name or device path)
  --help, --version

Interface types: rs232, ps2, usb-hid-kb, usb-rs232, usb-hid.
Exit status: 0 success, 1 the operation failed, 2 usage error.
)";
}

}  // namespace ravelfin::cli
