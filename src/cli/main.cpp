#include <sys/ioctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/program.h"
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
    if (!AddSimulatedReaders(cl, *simulated, StandardConsole()))
        return nullptr;
    clock = std::make_unique<SimulatedClock>(*simulated);
    clock->Start();
    return simulated;
}

/// Progress goes to standard output when it is a terminal, sized as it is.
CommandSetup Setup() {
    CommandSetup setup{[] { return std::make_unique<SteadySleepPause>(); }};
    winsize size{};
    if (::isatty(STDOUT_FILENO) == 1 && ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0) {
        setup.Rows = size.ws_row;
        setup.Columns = size.ws_col > 0 ? size.ws_col : 80;
    }
    return setup;
}

int Run(int argc, char** argv) {
    SleepPause pause;
    // The clock goes before the machine whose readers it plugs in: declared after it.
    std::unique_ptr<ReaderEnvironment> machine;
    std::unique_ptr<SimulatedClock> clock;
    return RunProgram({argv + 1, argv + argc}, StandardConsole(), Setup(),
                      [&](const CommandLine& cl) {
                          machine = MakeMachine(cl, pause, clock);
                          return machine.get();
                      });
}

}  // namespace

int main(int argc, char** argv) {
    // Past a file size limit a save then fails with its message instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // A closed pipe fails the write instead of ending the program, which then says so.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    const int status = Run(argc, argv);
    if (!StandardConsole().OutputWritten()) {
        const int why = errno;
        PrintError(std::string("ravelfin: cannot write to standard output") +
                   (why != 0 ? std::string(": ") + std::strerror(why) : std::string()));
        return status == kExitOk ? kExitFailed : status;
    }
    return status;
}
