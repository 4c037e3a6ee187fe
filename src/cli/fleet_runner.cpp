#include "cli/fleet_runner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <thread>

#include "cli/progress_board.h"
#include "cli/worker_environment.h"

namespace ravelfin::cli {

namespace {
QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

std::vector<FleetResult> RunOnReaders(ReaderEnvironment& machine,
                                      const std::vector<FleetTarget>& targets, const FleetJob& job,
                                      const FleetSetup& setup, Console& console) {
    std::vector<std::string> labels;
    for (const FleetTarget& t : targets)
        labels.push_back(t.Label() + " " + t.Name);
    ProgressBoard board(console, labels, setup.Progress);
    // Every worker's pause is made here, before any thread starts.
    std::vector<std::unique_ptr<Pause>> pauses;
    for (std::size_t i = 0; i < targets.size(); ++i)
        pauses.push_back(setup.Pauses());

    std::vector<FleetResult> results(targets.size());
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        workers.emplace_back([&, i] {
            WorkerEnvironment environment(machine, targets[i], *pauses[i], [&board, i](WorkStep s) {
                board.Show(i, WorkStepText(s));
            });
            results[i] = job(environment, targets[i]);
            board.Show(i, results[i].Ok ? "done" : "failed");
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    board.Clear();
    return results;
}

std::string ResultLine(const FleetTarget& target, const FleetResult& result) {
    return target.Label() + " " + target.Name + " (" + target.Identity().Describe() +
           "): " + result.Message;
}

int PrintFleetResults(const std::vector<FleetTarget>& targets,
                      const std::vector<FleetResult>& results, const std::string& done,
                      const std::string& command, bool json, Console& console) {
    std::size_t succeeded = 0;
    QJsonArray array;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const FleetResult& r = results[i];
        succeeded += r.Ok ? 1 : 0;
        if (json) {
            QJsonObject o = r.Extra;
            o["device"] = Latin1(targets[i].Label());
            o["name"] = Latin1(targets[i].Name);
            const ReaderIdentity identity = targets[i].Identity();
            o["port"] = Latin1(identity.PortPath);
            o["serial"] = Latin1(identity.SerialNumber);
            o["firmware"] = Latin1(r.Firmware);
            o["ok"] = r.Ok;
            o["message"] = Latin1(r.Message);
            array.append(o);
        } else {
            console.Print(ResultLine(targets[i], r) + "\n");
            if (!r.Text.empty())
                console.Print(r.Text + "\n");
        }
    }
    std::string summary = std::to_string(succeeded) + " of " + std::to_string(targets.size()) +
                          " readers " + done + " by " + command;
    if (succeeded < targets.size()) {
        summary += "; " + std::to_string(targets.size() - succeeded) + " failed";
    }
    if (json) {
        console.PrintUtf8(QJsonDocument(array).toJson().toStdString());
        console.Error(summary);
    } else {
        console.Print(summary + "\n");
    }
    return succeeded == targets.size() ? kExitOk : kExitFailed;
}

}  // namespace ravelfin::cli
