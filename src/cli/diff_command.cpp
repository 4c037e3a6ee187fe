#include "cli/diff_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <array>

#include "cli/fleet_output.h"
#include "cli/reader_commands.h"
#include "cli/reader_run.h"
#include "cli/settings_json.h"
#include "fleet/reader_jobs.h"
#include "fleet/setting_fields.h"
#include "flows/flow_messages.h"
#include "protocol/settings_file.h"

namespace ravelfin::cli {

namespace {

constexpr std::string_view kReaderPrefix = "reader:";

bool NamesReader(const std::string& argument) {
    return argument.compare(0, kReaderPrefix.size(), kReaderPrefix) == 0;
}

bool LoadFile(const std::string& path, Console& console, ReaderSettings& settings) {
    if (LoadSettingsFile(settings, path))
        return true;
    console.Error(std::string(kLoadFailedText) + " (" + path + ")");
    return false;
}

std::string DifferenceLine(const QString& name, const QJsonValue& from, const QJsonValue& to) {
    return name.toStdString() + ": " + CompactJson(from) + " -> " + CompactJson(to) + "\n";
}

int DiffFiles(const CommandLine& cl, Console& console) {
    std::array<ReaderSettings, 2> files{ReaderSettings(kInterfaceUsbHid),
                                        ReaderSettings(kInterfaceUsbHid)};
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!LoadFile(cl.arguments[i], console, files[i]))
            return kExitUsage;
    }
    const QJsonObject a = SettingsToJson(files[0]);
    const QJsonObject b = SettingsToJson(files[1]);
    QJsonObject differences;
    std::string lines;
    for (const std::string& setting : SettingNames()) {
        const QString name = QString::fromStdString(setting);
        if (a.value(name) == b.value(name))
            continue;
        differences[name] = QJsonObject{{"a", a.value(name)}, {"b", b.value(name)}};
        lines += DifferenceLine(name, a.value(name), b.value(name));
    }
    console.PrintUtf8(cl.json ? QJsonDocument(differences).toJson().toStdString() : lines);
    return differences.isEmpty() ? kExitOk : kExitFailed;
}

}  // namespace

int RunDiff(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
            const CommandSetup& setup) {
    const std::vector<std::string>& args = cl.arguments;
    const bool readerFirst = NamesReader(args[0]);
    const bool readerSecond = args.size() == 2 && NamesReader(args[1]);
    if (args.size() == 2 && !readerFirst && !readerSecond && cl.devices.empty() && !cl.all)
        return DiffFiles(cl, console);
    if ((readerFirst && readerSecond) || (args.size() == 1 && readerFirst) ||
        (args.size() == 2 && !readerFirst && !readerSecond)) {
        console.Error(
            "ravelfin: diff compares two files, or a file with readers (see ravelfin "
            "diff --help)");
        return kExitUsage;
    }
    const std::string& path = readerFirst ? args[1] : args[0];
    ReaderSettings file(kInterfaceUsbHid);
    if (!LoadFile(path, console, file))
        return kExitUsage;
    TargetRequest request{cl.devices, cl.all};
    const std::string named =
        args.size() == 2 ? args[readerFirst ? 0 : 1].substr(kReaderPrefix.size()) : "";
    if (!named.empty())
        request.Devices.insert(request.Devices.begin(), named);
    std::vector<FleetTarget> targets;
    if (!TargetsOf(request, machine, console, targets))
        return kExitUsage;
    ReaderRun run = RunReaders(
        machine, targets,
        [&file](WorkerEnvironment& environment, const FleetTarget& target) {
            return CompareReader(environment, target, file);
        },
        cl, console, setup);
    std::vector<ReaderResult>& results = run.Results;
    for (ReaderResult& r : results) {
        if (!r.Ok())
            continue;
        const QJsonObject reader = SettingsToJson(*r.Settings);
        const QJsonObject wanted = SettingsToJson(*r.Wanted);
        for (const std::string& setting : r.Differences) {
            const QString name = QString::fromStdString(setting);
            r.Text += readerFirst ? DifferenceLine(name, reader.value(name), wanted.value(name))
                                  : DifferenceLine(name, wanted.value(name), reader.value(name));
        }
    }
    PrintResults(
        targets, results, "compared", cl, console, [](QJsonObject& o, const ReaderResult& r) {
            if (!r.Ok())
                return;
            const QJsonObject reader = SettingsToJson(*r.Settings);
            const QJsonObject wanted = SettingsToJson(*r.Wanted);
            QJsonArray differences;
            for (const std::string& setting : r.Differences) {
                const QString name = QString::fromStdString(setting);
                differences.append(QJsonObject{
                    {"name", name}, {"file", wanted.value(name)}, {"reader", reader.value(name)}});
            }
            o["match"] = differences.isEmpty();
            o["differences"] = differences;
        });
    if (run.Stopped ||
        std::any_of(results.begin(), results.end(), [](const ReaderResult& r) { return !r.Ok(); }))
        return kExitUsage;
    const bool differ = std::any_of(results.begin(), results.end(),
                                    [](const ReaderResult& r) { return !r.Differences.empty(); });
    return differ ? kExitFailed : kExitOk;
}

}  // namespace ravelfin::cli
