#include "cli/diff_command.h"

#include <QJsonDocument>
#include <array>
#include <memory>
#include <optional>

#include "cli/reader_session.h"
#include "cli/setting_fields.h"
#include "cli/settings_json.h"
#include "flows/flow_messages.h"
#include "protocol/settings_file.h"

namespace ravelfin::cli {

namespace {

constexpr std::string_view kReaderPrefix = "reader:";

/// One side of the comparison.
struct Side {
    ReaderSettings Settings{kInterfaceUsbHid};
    bool FromReader = false;
};

/// Loads a file or reads a reader into `side`; says why not on standard error.
bool Load(const std::string& argument, const CommandLine& cl, ReaderEnvironment& machine,
          Console& console, Side& side) {
    if (!NamesReader(argument)) {
        if (LoadSettingsFile(side.Settings, argument))
            return true;
        console.Error(std::string(kLoadFailedText) + " (" + argument + ")");
        return false;
    }
    CommandLine one = cl;
    const std::string device = argument.substr(kReaderPrefix.size());
    one.device = device.empty() ? std::nullopt : std::optional(device);
    ReaderSession session(machine, console);
    if (!session.ConnectReader(one))
        return false;
    side.Settings = *session.Link().Settings;
    side.FromReader = true;
    return true;
}

/// The names compared: every setting, the data-editing content included.
std::vector<QString> ComparedNames() {
    std::vector<QString> names;
    for (const ByteSetting& s : ByteSettings()) {
        if (s.IsSetting)
            names.push_back(s.Name);
    }
    for (const StringSetting& s : StringSettings())
        names.push_back(s.Name);
    for (const char* name : {"addedFields", "custom", "custom2", "formulas"})
        names.push_back(name);
    return names;
}

}  // namespace

bool NamesReader(const std::string& argument) {
    return argument.compare(0, kReaderPrefix.size(), kReaderPrefix) == 0;
}

int RunDiff(const CommandLine& cl, ReaderEnvironment& machine, Console& console) {
    std::array<Side, 2> sides;
    for (std::size_t i = 0; i < sides.size(); ++i) {
        if (!Load(cl.arguments[i], cl, machine, console, sides[i]))
            return kExitUsage;
    }
    // A file facing a reader is compared as that reader would store it.
    for (std::size_t i = 0; i < sides.size(); ++i) {
        const Side& other = sides[1 - i];
        if (!sides[i].FromReader && other.FromReader &&
            !AsStoredBy(sides[i].Settings, other.Settings.FirmwareVersionNumber)) {
            console.Error("ravelfin: " + cl.arguments[i] +
                          " does not fit into a settings frame for the reader");
            return kExitUsage;
        }
    }
    const QJsonObject a = SettingsToJson(sides[0].Settings);
    const QJsonObject b = SettingsToJson(sides[1].Settings);
    QJsonObject differences;
    std::string lines;
    for (const QString& name : ComparedNames()) {
        if (a.value(name) == b.value(name))
            continue;
        differences[name] = QJsonObject{{"a", a.value(name)}, {"b", b.value(name)}};
        lines += name.toStdString() + ": " + CompactJson(a.value(name)) + " -> " +
                 CompactJson(b.value(name)) + "\n";
    }
    console.PrintUtf8(cl.json ? QJsonDocument(differences).toJson().toStdString() : lines);
    return differences.isEmpty() ? kExitOk : kExitFailed;
}

}  // namespace ravelfin::cli
