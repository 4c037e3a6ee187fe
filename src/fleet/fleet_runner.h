#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "fleet/fleet_target.h"
#include "fleet/reader_result.h"
#include "fleet/worker_environment.h"
#include "transport/reader_environment.h"

namespace ravelfin {

/// One reader's part of a command, run on its worker's thread with an environment that holds
/// that reader only and a pause of its own.
using ReaderJob = std::function<ReaderResult(WorkerEnvironment& environment, const FleetTarget&)>;

/// A pause for each worker: sleeping for real, or a fake in the tests.
using PauseFactory = std::function<std::unique_ptr<Pause>()>;

struct FleetSetup {
    PauseFactory Pauses;
    /// Told what reader `reader` (its place among the targets) is doing: a step's text, then
    /// "done", "failed" or "stopped". Called from the workers' threads.
    std::function<void(std::size_t reader, const std::string& step)> OnStep;
    /// Requested (by a signal, say): readers stop as `WorkerEnvironment` says.
    std::stop_token Stop;
};

/// The result of a reader that a stop kept from being worked on, or from being written to.
ReaderResult StoppedResult(std::string firmware = {});

/// One reader's worker: a thread of its own that runs one job on one reader, with a stop
/// token that closes the reader's gate (see `WorkerEnvironment`): the thread's own, which
/// `RequestStop` and destroying the worker request, and `stop`, which a caller may request for
/// many workers at once, before or after they start. `onDone` is called on the worker's thread
/// with the result, as its last act. Destroying the worker waits for it.
class ReaderWorker {
  public:
    ReaderWorker(ReaderEnvironment& machine, FleetTarget target, ReaderJob job,
                 std::unique_ptr<Pause> pause, WorkStepListener onStep = {},
                 std::function<void(const ReaderResult&)> onDone = {}, std::stop_token stop = {});
    ReaderWorker(const ReaderWorker&) = delete;
    ReaderWorker& operator=(const ReaderWorker&) = delete;

    const FleetTarget& Target() const { return target_; }
    void RequestStop() { thread_.request_stop(); }
    /// Waits for the worker's end; `Result` is final afterwards.
    void Join() {
        if (thread_.joinable())
            thread_.join();
    }
    const ReaderResult& Result() const { return result_; }

  private:
    void Run(std::stop_token own);

    ReaderEnvironment& machine_;
    const FleetTarget target_;
    const ReaderJob job_;
    const std::unique_ptr<Pause> pause_;
    const WorkStepListener onStep_;
    const std::function<void(const ReaderResult&)> onDone_;
    const std::stop_token stop_;
    ReaderResult result_;
    std::jthread thread_;  // last: it starts once everything it uses is there
};

/// Runs `job` on every target at once, one worker per reader, and returns the results in the
/// order of the targets once every worker has ended. Nothing is shared between the workers
/// but what `job` captures, which must be read-only.
std::vector<ReaderResult> RunOnReaders(ReaderEnvironment& machine,
                                       const std::vector<FleetTarget>& targets,
                                       const ReaderJob& job, const FleetSetup& setup);

}  // namespace ravelfin
