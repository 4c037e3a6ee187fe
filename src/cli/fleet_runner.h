#pragma once

#include <QJsonObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/console.h"
#include "cli/fleet_target.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// How one reader's work ended.
struct FleetResult {
    bool Ok = false;
    std::string Message;   // what the single-reader command would have said last
    std::string Firmware;  // the reader's firmware text, when it was read
    std::string Text;      // printed below the result line (a settings report)
    QJsonObject Extra;     // added to the reader's JSON object
};

/// One reader's work, run on a thread of its own with `environment`, which holds that reader
/// only and a pause of its own.
using FleetJob = std::function<FleetResult(ReaderEnvironment& environment, const FleetTarget&)>;

/// A pause for each worker: sleeping for real, or a fake in the tests.
using PauseFactory = std::function<std::unique_ptr<Pause>()>;

struct FleetSetup {
    PauseFactory Pauses;
    /// Progress lines, for standard output on a terminal.
    bool Progress = false;
};

/// Runs `job` on every target at once, one thread per reader, and returns the results in
/// the order of the targets. Nothing is shared between the workers but what `job` captures,
/// which must be read-only.
std::vector<FleetResult> RunOnReaders(ReaderEnvironment& machine,
                                      const std::vector<FleetTarget>& targets, const FleetJob& job,
                                      const FleetSetup& setup, Console& console);

/// `TYPE:INDEX NAME (port PORT, serial SERIAL): MESSAGE`.
std::string ResultLine(const FleetTarget& target, const FleetResult& result);

/// Prints one result line per reader (with any text below it), then "N of M readers DONE by
/// COMMAND"; with `json` an array of one object per reader instead, and the summary on
/// standard error. Returns 0 when every reader succeeded, 1 otherwise.
int PrintFleetResults(const std::vector<FleetTarget>& targets,
                      const std::vector<FleetResult>& results, const std::string& done,
                      const std::string& command, bool json, Console& console);

}  // namespace ravelfin::cli
