#pragma once

#include <QJsonObject>
#include <functional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/console.h"
#include "fleet/fleet_target.h"
#include "fleet/reader_result.h"

namespace ravelfin::cli {

/// `TYPE:INDEX NAME (port PORT, serial SERIAL): MESSAGE`.
std::string ResultLine(const FleetTarget& target, const ReaderResult& result);

/// The reader's JSON object, as scripts read it: device (TYPE:INDEX, or TYPE:NAME for a device
/// not listed), name, port, serial, firmware, result ("ok", "failed", "stopped"), changed,
/// error (a failure's code, else null) and message.
QJsonObject ResultJson(const FleetTarget& target, const ReaderResult& result);

/// Adds what a command tells beyond the common members to a reader's JSON object.
using JsonExtra = std::function<void(QJsonObject&, const ReaderResult&)>;

/// Prints the results in the order of the readers: a result line per reader with any text
/// below it (`ReaderResult::Text`), then "N of M readers DONE by COMMAND" with the failed and
/// stopped ones counted; with --json an array of one object per reader instead, and the
/// summary on standard error; with --quiet only the texts, and the lines of the readers that
/// did not succeed on standard error.
void PrintResults(const std::vector<FleetTarget>& targets, const std::vector<ReaderResult>& results,
                  const std::string& done, const CommandLine& cl, Console& console,
                  const JsonExtra& extra = {});

/// A Latin-1 text (what readers and files hold) as a JSON string.
QString Latin1(const std::string& text);

}  // namespace ravelfin::cli
