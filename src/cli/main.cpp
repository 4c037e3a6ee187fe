#include <unistd.h>
#include <QCoreApplication>
#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/diff_command.h"
#include "cli/file_commands.h"
#include "cli/fleet_commands.h"
#include "cli/reader_commands.h"
#include "cli/set_command.h"
#include "cli/simulate_command.h"
#include "cli/watch_command.h"
#include "sim/simulated_clock.h"
#include "sim/simulated_environment.h"
#include "transport/real/real_environment.h"

using namespace ravelfin;
using namespace ravelfin::cli;

namespace {

/// The readers the command works on: the machine's, or only simulated ones, whose clock
/// `clock` runs so that they arrive and leave at their times.
std::unique_ptr<ReaderEnvironment> MakeMachine(const CommandLine& cl, Pause& pause,
                                               std::unique_ptr<SimulatedClock>& clock) {
    if (cl.simulate.empty())
        return std::make_unique<RealEnvironment>(pause);
    auto simulated = std::make_unique<SimulatedEnvironment>(pause);
    for (const std::string& optionText : cl.simulate) {
        std::string error;
        if (!simulated->AddReaderFromOptionText(optionText, error)) {
            PrintError("ravelfin: --simulate " + optionText + ": " + error);
            return nullptr;
        }
    }
    clock = std::make_unique<SimulatedClock>(*simulated);
    clock->Start();
    return simulated;
}

using ReaderCommand = int (*)(const CommandLine&, ReaderEnvironment&, Console&);

ReaderCommand FindReaderCommand(const std::string& name) {
    if (name == "list")
        return RunList;
    if (name == "report")
        return RunReport;
    if (name == "save")
        return RunSave;
    if (name == "apply")
        return RunApply;
    if (name == "defaults")
        return RunDefaults;
    if (name == "send")
        return RunSend;
    if (name == "clone")
        return RunClone;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    // Past a file size limit a save then fails with its message instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(args, cl, error)) {
        PrintError("ravelfin: " + error + " (see ravelfin --help)");
        return kExitUsage;
    }
    if (cl.help) {
        PrintText(UsageText());
        return kExitOk;
    }
    if (cl.version) {
        PrintText(std::string("ravelfin ") + PROJECT_VERSION_TEXT + "\n");
        return kExitOk;
    }
    if (cl.command == "show")
        return RunShow(cl);
    if (cl.command == "convert")
        return RunConvert(cl);
    if (cl.command == "new")
        return RunNew(cl);
    if (cl.command == "simulate")
        return RunSimulate(cl);
    if (cl.command == "set")
        return RunSet(cl, StandardConsole());

    if (cl.devices.size() > 1 && !IsFleetCommand(cl)) {
        PrintError("ravelfin: '" + cl.command +
                   "' works on one reader; name one --device, or use report, apply or defaults "
                   "for several (see ravelfin --help)");
        return kExitUsage;
    }

    SleepPause pause;
    // The clock goes before the machine whose readers it plugs in.
    std::unique_ptr<ReaderEnvironment> machine;
    std::unique_ptr<SimulatedClock> clock;
    machine = MakeMachine(cl, pause, clock);
    if (!machine)
        return kExitUsage;
    const FleetSetup setup{[] { return std::make_unique<SleepPause>(); },
                           ::isatty(STDOUT_FILENO) == 1 && !cl.json};
    if (IsFleetCommand(cl))
        return RunFleetCommand(cl, *machine, StandardConsole(), setup);
    if (cl.command == "watch")
        return RunWatch(cl, *machine, StandardConsole(), setup);
    if (cl.command == "diff")
        return RunDiff(cl, *machine, StandardConsole());
    return FindReaderCommand(cl.command)(cl, *machine, StandardConsole());
}
