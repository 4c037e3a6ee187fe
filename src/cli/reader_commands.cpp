#include "cli/reader_commands.h"

#include <algorithm>
#include <iterator>

#include "cli/fleet_output.h"
#include "cli/reader_run.h"
#include "cli/settings_json.h"
#include "fleet/reader_jobs.h"
#include "flows/flow_messages.h"
#include "flows/manual_command.h"
#include "protocol/command_frame.h"
#include "protocol/settings_file.h"

namespace ravelfin::cli {

namespace {

/// Copies one reader's settings to the others: the source is read first, on its own.
int RunClone(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
             const CommandSetup& setup) {
    if (!cl.from || (cl.to.empty() && !cl.toAll)) {
        console.Error("ravelfin: clone needs --from DEVICE and --to DEVICE or --to-all");
        return kExitUsage;
    }
    std::vector<FleetTarget> source;
    std::vector<FleetTarget> targets;
    DeviceSnapshot devices(machine.Devices());
    std::string error;
    if (!ResolveTargets({{*cl.from}, false}, devices, source, error) ||
        !ResolveTargets({cl.to, cl.toAll}, devices, targets, error)) {
        console.Error("ravelfin: " + error);
        return kExitFailed;
    }
    // The source is no target of its own clone, however it was named.
    std::erase_if(targets, [&](const FleetTarget& t) {
        return t.Hid == source[0].Hid && t.Name == source[0].Name;
    });
    if (targets.empty()) {
        console.Error(
            "No reader to clone to: no --to names one and no other USB HID reader is "
            "attached.");
        return kExitFailed;
    }
    const ReaderRun read = RunReaders(
        machine, source,
        [](WorkerEnvironment& environment, const FleetTarget& target) {
            return ReadReader(environment, target, false);
        },
        cl, console, setup);
    const ReaderResult& sourceRead = read.Results[0];
    if (sourceRead.State == ResultState::Failed) {
        console.Error("ravelfin: the source reader " + ResultLine(source[0], sourceRead));
        return kExitFailed;
    }
    ReaderRun run{std::vector<ReaderResult>(targets.size(), StoppedResult()), true};
    if (sourceRead.Ok() && !read.Stopped) {
        const ReaderSettings settings = *sourceRead.Settings;
        run = RunReaders(
            machine, targets,
            [&settings](WorkerEnvironment& environment, const FleetTarget& target) {
                return CloneToReader(environment, target, settings);
            },
            cl, console, setup);
    }
    PrintResults(targets, run.Results, "cloned", cl, console);
    return run.ExitStatus();
}

}  // namespace

bool TargetsOf(const TargetRequest& request, ReaderEnvironment& machine, Console& console,
               std::vector<FleetTarget>& targets) {
    DeviceSnapshot devices(machine.Devices());
    std::string error;
    if (ResolveTargets(request, devices, targets, error))
        return true;
    for (std::size_t start = 0; start <= error.size();) {
        const std::size_t end = std::min(error.find('\n', start), error.size());
        console.Error(error.substr(start, end - start));
        start = end + 1;
    }
    return false;
}

int RunReaderCommand(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
                     const CommandSetup& setup) {
    if (cl.command == "clone")
        return RunClone(cl, machine, console, setup);
    std::vector<FleetTarget> targets;
    if (!TargetsOf({cl.devices, cl.all}, machine, console, targets))
        return kExitFailed;
    if (cl.command == "save" && targets.size() > 1) {
        console.Error(
            "ravelfin: 'save' works on one reader; name one --device (see ravelfin "
            "save --help)");
        return kExitUsage;
    }
    ReaderJob job;
    std::string done;
    JsonExtra extra;
    Bytes file;
    const std::string argument = cl.arguments.empty() ? "" : cl.arguments[0];
    if (cl.command == "report") {
        job = [](WorkerEnvironment& environment, const FleetTarget& target) {
            return ReadReader(environment, target, true);
        };
        done = "reported";
        extra = [](QJsonObject& o, const ReaderResult& r) {
            if (r.Settings)
                o["settings"] = SettingsToJson(*r.Settings);
        };
    } else if (cl.command == "save") {
        job = [&argument](WorkerEnvironment& environment, const FleetTarget& target) {
            return SaveReader(environment, target, argument);
        };
        done = "saved";
    } else if (cl.command == "apply") {
        if (!ReadSettingsFile(argument, file)) {
            console.Error(std::string(kLoadFailedText) + " (" + argument + ")");
            return kExitFailed;
        }
        job = [&file, &cl](WorkerEnvironment& environment, const FleetTarget& target) {
            return ApplyToReader(environment, target, file, cl.ifDifferent);
        };
        done = "configured";
    } else if (cl.command == "defaults") {
        job = RestoreReaderDefaults;
        done = "restored to factory settings";
    } else {
        // A command that is no frame is refused before any reader is opened.
        Bytes frame;
        std::string text;
        std::copy_if(argument.begin(), argument.end(), std::back_inserter(text),
                     [](char c) { return c != ' ' && c != '\t'; });
        const bool parsed = !text.empty() && ParseCommandText(text, kMaxManualCommand, frame) ==
                                                 CommandTextStatus::kOk;
        if (!parsed || frame.front() != kStx || frame.back() != kEtx) {
            std::string why = !parsed ? kInvalidCommandText : kNotFramedText;
            std::replace(why.begin(), why.end(), '\n', ' ');
            console.Error("ravelfin: " + why + " (a command is written \\x2\\x52\\x22\\x3)");
            return kExitUsage;
        }
        job = [&argument](WorkerEnvironment& environment, const FleetTarget& target) {
            return SendCommandToReader(environment, target, argument);
        };
        done = "answered";
        extra = [](QJsonObject& o, const ReaderResult& r) { o["log"] = Latin1(r.Text); };
    }
    const ReaderRun run = RunReaders(machine, targets, job, cl, console, setup);
    PrintResults(targets, run.Results, done, cl, console, extra);
    return run.ExitStatus();
}

}  // namespace ravelfin::cli
