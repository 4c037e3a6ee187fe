#include "cli/fleet_commands.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "cli/kept_messages.h"
#include "cli/reader_jobs.h"
#include "cli/worker_environment.h"
#include "flows/flow_messages.h"
#include "flows/quick_clone.h"
#include "protocol/settings_file.h"
#include "transport/transport_factory.h"

namespace ravelfin::cli {

namespace {

constexpr std::size_t kLargestFile = 1025;  // one byte past the limit, so that loading refuses it

/// Says that no reader was named or found, and what was there instead.
int NoReaders(Console& console) {
    console.Error("No reader to work on: no USB HID reader is attached and no --device names one.");
    return kExitFailed;
}

/// Reads the source reader for a clone, on this thread, with a pause of its own.
bool ReadCloneSource(ReaderEnvironment& machine, const FleetTarget& source, const FleetSetup& setup,
                     Console& console, ReaderSettings& out) {
    const auto pause = setup.Pauses();
    WorkerEnvironment environment(machine, source, *pause);
    KeptMessages messages;
    QuickClone clone([&](int type) { return MakeTransport(type, environment); }, messages);
    if (!clone.ReadSource(source.Type, DeviceAddress(0))) {
        console.Error(messages.Outcome() + " (" + source.Label() + " " + source.Name + ")");
        return false;
    }
    out = *clone.Source();
    return true;
}

int RunFleetClone(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
                  const FleetSetup& setup) {
    if (!cl.from) {
        console.Error("ravelfin: clone needs --from DEVICE");
        return kExitUsage;
    }
    std::string error;
    std::vector<FleetTarget> source;
    std::vector<FleetTarget> targets;
    if (!ResolveFleetTargets({*cl.from}, false, machine.Devices(), source, error) ||
        !ResolveFleetTargets(cl.to, cl.toAll, machine.Devices(), targets, error)) {
        console.Error("ravelfin: " + error);
        return kExitUsage;
    }
    // The source is no target of its own clone, however it was named.
    std::erase_if(targets, [&](const FleetTarget& t) {
        return t.Hid == source[0].Hid && t.Name == source[0].Name;
    });
    if (targets.empty())
        return NoReaders(console);
    ReaderSettings read(static_cast<std::uint32_t>(source[0].Type));
    if (!ReadCloneSource(machine, source[0], setup, console, read))
        return kExitFailed;
    const auto results = RunOnReaders(
        machine, targets,
        [&read](ReaderEnvironment& environment, const FleetTarget& target) {
            return CloneToReader(environment, target, read);
        },
        setup, console);
    return PrintFleetResults(targets, results, "cloned", "clone", cl.json, console);
}

}  // namespace

bool IsFleetCommand(const CommandLine& cl) {
    if (cl.command == "clone")
        return cl.toAll || cl.to.size() > 1;
    const bool severalReaders = cl.all || cl.devices.size() > 1;
    return severalReaders &&
           (cl.command == "report" || cl.command == "apply" || cl.command == "defaults");
}

bool ReadConfigurationFile(const std::string& path, Bytes& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(kLargestFile, 0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return false;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    ReaderSettings check;
    return LoadSettingsFromBytes(check, bytes);
}

int RunFleetCommand(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
                    const FleetSetup& setup) {
    if (cl.command == "clone")
        return RunFleetClone(cl, machine, console, setup);
    std::vector<FleetTarget> targets;
    std::string error;
    if (!ResolveFleetTargets(cl.devices, cl.all, machine.Devices(), targets, error)) {
        console.Error("ravelfin: " + error);
        return kExitUsage;
    }
    if (targets.empty())
        return NoReaders(console);
    FleetJob job;
    std::string done;
    Bytes file;
    if (cl.command == "apply") {
        if (!ReadConfigurationFile(cl.arguments[0], file)) {
            console.Error(kLoadFailedText);
            return kExitFailed;
        }
        job = [&file](ReaderEnvironment& environment, const FleetTarget& target) {
            return ApplyToReader(environment, target, file);
        };
        done = "configured";
    } else if (cl.command == "defaults") {
        job = RestoreReaderDefaults;
        done = "restored to factory settings";
    } else {
        job = ReportReader;
        done = "reported";
    }
    const auto results = RunOnReaders(machine, targets, job, setup, console);
    return PrintFleetResults(targets, results, done, cl.command, cl.json, console);
}

}  // namespace ravelfin::cli
