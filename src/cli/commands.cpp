#include "cli/commands.h"

#include "cli/diff_command.h"
#include "cli/file_commands.h"
#include "cli/list_command.h"
#include "cli/reader_commands.h"
#include "cli/set_command.h"
#include "cli/simulate_command.h"
#include "cli/watch_command.h"

namespace ravelfin::cli {

int RunCommand(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
               const CommandSetup& setup) {
    const std::string& c = cl.command;
    if (c == "show")
        return RunShow(cl, console);
    if (c == "convert")
        return RunConvert(cl, console);
    if (c == "new")
        return RunNew(cl, console);
    if (c == "set")
        return RunSet(cl, console);
    if (c == "simulate")
        return RunSimulate(cl);
    if (c == "list")
        return RunList(cl, machine, console, setup);
    if (c == "diff")
        return RunDiff(cl, machine, console, setup);
    if (c == "watch")
        return RunWatch(cl, machine, console, setup);
    return RunReaderCommand(cl, machine, console, setup);
}

}  // namespace ravelfin::cli
