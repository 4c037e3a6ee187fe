#include "cli/reader_run.h"

#include <algorithm>
#include <stop_token>

#include "cli/progress_board.h"
#include "cli/stop_signals.h"

namespace ravelfin::cli {

int ReaderRun::ExitStatus() const {
    const bool all =
        std::all_of(Results.begin(), Results.end(), [](const ReaderResult& r) { return r.Ok(); });
    return all && !Stopped ? kExitOk : kExitFailed;
}

ReaderRun RunReaders(ReaderEnvironment& machine, const std::vector<FleetTarget>& targets,
                     const ReaderJob& job, const CommandLine& cl, Console& console,
                     const CommandSetup& setup) {
    std::vector<std::string> labels;
    for (const FleetTarget& t : targets)
        labels.push_back(t.Label() + " " + t.Name);
    ProgressBoard board(console, labels, cl.json || cl.quiet ? 0 : setup.Rows, setup.Columns);
    std::stop_source stop;
    const StopSignals stopSignals([&] {
        if (stop.request_stop())
            board.Note("Stopping: readers in the middle of a write finish it; no other is begun.");
    });
    const FleetSetup fleet{
        setup.Pauses,
        [&board](std::size_t reader, const std::string& step) { board.Show(reader, step); },
        stop.get_token()};
    ReaderRun run{RunOnReaders(machine, targets, job, fleet), false};
    board.Clear();
    run.Stopped = stop.stop_requested();
    return run;
}

}  // namespace ravelfin::cli
