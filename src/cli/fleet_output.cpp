#include "cli/fleet_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

namespace ravelfin::cli {

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ResultLine(const FleetTarget& target, const ReaderResult& result) {
    return target.Label() + " " + target.Name + " (" + target.Identity().Describe() +
           "): " + result.Message;
}

QJsonObject ResultJson(const FleetTarget& target, const ReaderResult& result) {
    QJsonObject o;
    o["device"] = Latin1(target.Label());
    o["name"] = Latin1(target.Name);
    const ReaderIdentity identity = target.Identity();
    o["port"] = Latin1(identity.PortPath);
    o["serial"] = Latin1(identity.SerialNumber);
    o["firmware"] = Latin1(result.Firmware);
    o["result"] = ResultStateText(result.State);
    o["changed"] = result.Changed;
    o["error"] = result.Error == FailureKind::None ? QJsonValue(QJsonValue::Null)
                                                   : QJsonValue(FailureCode(result.Error));
    o["message"] = Latin1(result.Message);
    return o;
}

void PrintResults(const std::vector<FleetTarget>& targets, const std::vector<ReaderResult>& results,
                  const std::string& done, const CommandLine& cl, Console& console,
                  const JsonExtra& extra) {
    QJsonArray array;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const ReaderResult& r = results[i];
        if (cl.json) {
            QJsonObject o = ResultJson(targets[i], r);
            if (extra)
                extra(o, r);
            array.append(o);
            continue;
        }
        if (!cl.quiet) {
            console.Print(ResultLine(targets[i], r) + "\n");
        } else if (!r.Ok()) {
            console.Error(ResultLine(targets[i], r));
        }
        if (!r.Text.empty())
            console.Print(r.Text + (r.Text.back() == '\n' ? "" : "\n"));
    }
    const auto count = [&results](ResultState state) {
        return static_cast<std::size_t>(
            std::count_if(results.begin(), results.end(),
                          [state](const ReaderResult& r) { return r.State == state; }));
    };
    std::string summary = std::to_string(count(ResultState::Ok)) + " of " +
                          std::to_string(results.size()) + " readers " + done + " by " + cl.command;
    for (ResultState state : {ResultState::Failed, ResultState::Stopped}) {
        if (count(state) > 0)
            summary += "; " + std::to_string(count(state)) + " " + ResultStateText(state);
    }
    if (cl.json) {
        console.PrintUtf8(QJsonDocument(array).toJson().toStdString());
        if (!cl.quiet)
            console.Error(summary);
    } else if (!cl.quiet) {
        console.Print(summary + "\n");
    }
}

}  // namespace ravelfin::cli
