#include "cli/program.h"

#include "cli/commands.h"

namespace ravelfin::cli {

int RunProgram(const std::vector<std::string>& args, Console& console, const CommandSetup& setup,
               const MachineMaker& machine) {
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(args, cl, error)) {
        console.Error("ravelfin: " + error + " (see ravelfin --help)");
        return kExitUsage;
    }
    if (cl.help) {
        console.Print(cl.command.empty() ? UsageText() : CommandHelpText(cl.command));
        return kExitOk;
    }
    if (cl.version) {
        console.Print(std::string("ravelfin ") + PROJECT_VERSION_TEXT + "\n");
        return kExitOk;
    }
    ReaderEnvironment* readers = machine(cl);
    if (!readers)
        return kExitUsage;
    return RunCommand(cl, *readers, console, setup);
}

bool AddSimulatedReaders(const CommandLine& cl, SimulatedEnvironment& machine, Console& console) {
    for (const std::string& optionText : cl.simulate) {
        std::string error;
        if (!machine.AddReaderFromOptionText(optionText, error)) {
            console.Error("ravelfin: --simulate " + optionText + ": " + error);
            return false;
        }
    }
    return true;
}

}  // namespace ravelfin::cli
