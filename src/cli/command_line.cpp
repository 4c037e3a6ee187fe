#include "cli/command_line.h"

#include <map>
#include <set>

namespace ravelfin::cli {

namespace {

struct CommandRule {
    std::size_t positionals;
    std::set<std::string> options;
    bool morePositionals = false;  // `positionals` is the least the command takes
};

const std::map<std::string, CommandRule>& Commands() {
    static const std::map<std::string, CommandRule> kCommands = {
        {"show", {1, {"firmware", "model-class", "interface", "json"}}},
        {"convert", {2, {"firmware"}}},
        {"new", {1, {"firmware", "force", "interface"}}},
        {"list", {0, {"json", "probe-serial", "no-probe"}}},
        {"report", {0, {"all", "json"}}},
        {"save", {1, {}}},
        {"apply", {1, {"all", "json"}}},
        {"defaults", {0, {"all", "json"}}},
        {"send", {1, {}}},
        {"clone", {0, {"from", "to", "to-all", "json"}}},
        {"watch", {0, {"apply", "count", "json"}}},
        {"diff", {2, {"json"}}},
        {"set", {2, {"firmware"}, true}},
        {"simulate",
         {0, {"pty", "uhid", "usb-serial", "interface", "firmware", "security-level", "load"}}},
    };
    return kCommands;
}

const std::set<std::string> kValueOptions = {"simulate",  "device", "firmware", "model-class",
                                             "interface", "from",   "to",       "security-level",
                                             "load",      "apply",  "count",    "uhid"};
const std::set<std::string> kFlagOptions = {"json", "force",  "pty",          "help",    "version",
                                            "all",  "to-all", "probe-serial", "no-probe",
                                            "usb-serial"};
const std::set<std::string> kGlobalOptions = {"simulate", "device", "help", "version"};

void Store(CommandLine& out, const std::string& name, const std::string& value) {
    if (name == "simulate")
        out.simulate.push_back(value);
    else if (name == "device") {
        out.devices.push_back(value);
        if (!out.device)
            out.device = value;
    } else if (name == "firmware")
        out.firmware = value;
    else if (name == "model-class")
        out.modelClass = value;
    else if (name == "interface")
        out.interface = value;
    else if (name == "from")
        out.from = value;
    else if (name == "to")
        out.to.push_back(value);
    else if (name == "security-level")
        out.securityLevel = value;
    else if (name == "load")
        out.load = value;
    else if (name == "json")
        out.json = true;
    else if (name == "force")
        out.force = true;
    else if (name == "pty")
        out.pty = true;
    else if (name == "uhid")
        out.uhid.push_back(value);
    else if (name == "usb-serial")
        out.usbSerial = true;
    else if (name == "help")
        out.help = true;
    else if (name == "version")
        out.version = true;
    else if (name == "all")
        out.all = true;
    else if (name == "to-all")
        out.toAll = true;
    else if (name == "probe-serial")
        out.probeSerial = true;
    else if (name == "no-probe")
        out.noProbe = true;
    else if (name == "apply")
        out.applyFile = value;
    else if (name == "count")
        out.count = value;
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
        const bool repeatable =
            name == "simulate" || name == "to" || name == "device" || name == "uhid";
        if (!repeatable && !seen.insert(name).second) {
            error = "option --" + name + " given twice";
            return false;
        }
        seen.insert(name);
        Store(out, name, value.value_or(""));
    }
    if (out.help || out.version)
        return true;
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
    const std::size_t least = rule->second.positionals;
    const bool more = rule->second.morePositionals;
    if (out.arguments.size() < least || (!more && out.arguments.size() > least)) {
        error = "'" + out.command + "' takes " + (more ? "at least " : "") + std::to_string(least) +
                " argument" + (least == 1 ? "" : "s") + ", got " +
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
    return R"(Usage: ravelfin [--simulate READER]... [--device DEVICE]... COMMAND [ARGS]

Configures Orvane Ravelfin magnetic-stripe card readers.

Commands on configuration files (no reader needed):
  show FILE [--firmware TEXT] [--model-class N] [--interface TYPE] [--json]
                        print the settings report of a configuration file
  convert IN OUT --firmware TEXT
                        re-save a configuration for a reader with other firmware
  new FILE --firmware TEXT [--force]
                        save the factory defaults for that firmware
  set FILE NAME=VALUE... [--firmware TEXT]
                        change settings of a configuration file by their
                        show --json names; VALUE is a number (decimal or 0x
                        hex), or for a byte string [1,2,3] or text such as \x02ABC

Commands on readers:
  list [--json] [--probe-serial | --no-probe]
                        list the attached readers with their firmware versions,
                        USB port paths and serial numbers; a plain RS-232 port is
                        asked for its firmware only when named with --device or
                        with --probe-serial; --no-probe opens no device at all
  report                read the reader and print its settings report
  save FILE             read the reader and save its configuration
  apply FILE            send a configuration file to the reader
  defaults              restore the reader's factory settings
  send COMMAND          send a raw command, for example "\x2\x52\x22\x3"
  diff A B [--json]     compare two configurations; A and B are files or
                        reader:DEVICE (reader: alone is the only USB reader)
  clone --from DEVICE --to DEVICE [--to DEVICE]... | --to-all
                        copy one reader's settings to other readers
  watch [--apply FILE] [--count N]
                        print readers arriving and leaving; with --apply,
                        configure each reader as it arrives; --count ends
                        after N readers were configured; Ctrl+C ends it
  simulate --pty [--interface rs232|usb-rs232] [--firmware TEXT]
           [--security-level D] [--load FILE]
                        serve a simulated serial reader on a pseudo-terminal
  simulate --uhid TYPE[,OPTIONS] [--uhid TYPE[,OPTIONS]]...
                        show simulated usb-hid or usb-hid-kb readers to the whole
                        system as HID devices through /dev/uhid (OPTIONS as for
                        --simulate); prints each /dev/hidrawN as it appears
  simulate --usb-serial [--firmware TEXT] [--security-level D] [--load FILE]
                        serve a simulated reader on a USB serial gadget (configfs,
                        dummy_hcd); prints the host-side port

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
                        repeat it to work on several readers at once
  --all                 report, apply and defaults on every attached USB HID
                        reader (serial readers only when named with --device)
  --json                with several readers: one result object per reader
  --help, --version

Interface types: rs232, ps2, usb-hid-kb, usb-rs232, usb-hid.
Exit status: 0 success, 1 the operation failed (on any reader), 2 usage error;
diff: 0 equal, 1 different, 2 trouble.
)";
}

}  // namespace ravelfin::cli
