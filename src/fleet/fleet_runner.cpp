#include "fleet/fleet_runner.h"

#include <utility>

namespace ravelfin {

ReaderResult StoppedResult(std::string firmware) {
    ReaderResult result;
    result.State = ResultState::Stopped;
    result.Message = "Stopped before anything was written to it.";
    result.Firmware = std::move(firmware);
    return result;
}

ReaderWorker::ReaderWorker(ReaderEnvironment& machine, FleetTarget target, ReaderJob job,
                           std::unique_ptr<Pause> pause, WorkStepListener onStep,
                           std::function<void(const ReaderResult&)> onDone, std::stop_token stop)
    : machine_(machine),
      target_(std::move(target)),
      job_(std::move(job)),
      pause_(std::move(pause)),
      onStep_(std::move(onStep)),
      onDone_(std::move(onDone)),
      stop_(std::move(stop)),
      thread_([this](std::stop_token own) { Run(std::move(own)); }) {}

void ReaderWorker::Run(std::stop_token own) {
    // Either token stops the worker; one requested before it began does at once.
    std::stop_source either;
    const auto request = [&either] { either.request_stop(); };
    const std::stop_callback byOwn(own, request);
    const std::stop_callback byCaller(stop_, request);
    const std::stop_token stop = either.get_token();
    if (stop.stop_requested()) {
        result_ = StoppedResult();
    } else {
        WorkerEnvironment environment(machine_, target_, *pause_, stop, onStep_);
        result_ = job_(environment, target_);
        if (environment.Stopped())
            result_ = StoppedResult(result_.Firmware);
    }
    if (onDone_)
        onDone_(result_);
}

std::vector<ReaderResult> RunOnReaders(ReaderEnvironment& machine,
                                       const std::vector<FleetTarget>& targets,
                                       const ReaderJob& job, const FleetSetup& setup) {
    auto tell = [&setup](std::size_t reader, const std::string& step) {
        if (setup.OnStep)
            setup.OnStep(reader, step);
    };
    // Every worker's pause is made here, in the order of the readers, before any worker starts.
    std::vector<std::unique_ptr<Pause>> pauses;
    for (std::size_t i = 0; i < targets.size(); ++i)
        pauses.push_back(setup.Pauses());
    std::vector<std::unique_ptr<ReaderWorker>> workers;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        workers.push_back(std::make_unique<ReaderWorker>(
            machine, targets[i], job, std::move(pauses[i]),
            [tell, i](WorkStep step) { tell(i, WorkStepText(step)); },
            [tell, i](const ReaderResult& result) {
                tell(i, result.State == ResultState::Ok ? "done" : ResultStateText(result.State));
            },
            setup.Stop));
    }
    for (const auto& worker : workers)
        worker->Join();
    std::vector<ReaderResult> results;
    for (const auto& worker : workers)
        results.push_back(worker->Result());
    return results;
}

}  // namespace ravelfin
