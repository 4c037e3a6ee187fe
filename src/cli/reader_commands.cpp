#include "cli/reader_commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/reader_session.h"
#include "flows/factory_defaults.h"
#include "flows/manual_command.h"
#include "flows/quick_clone.h"
#include "flows/send_settings.h"
#include "flows/settings_file_flow.h"
#include "protocol/reader_operations.h"
#include "report/settings_report.h"

namespace ravelfin::cli {

namespace {

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

/// Whether `list` may open `reader` to ask for its firmware. A plain RS-232 port may have
/// anything on it (a modem, a scale, a printer) that the read command would disturb: only
/// one the user names, or all with --probe-serial.
bool MayProbe(const CommandLine& cl, const DeviceEntry& reader, DeviceSource& devices) {
    if (cl.noProbe)
        return false;
    if (reader.Type != kInterfaceRs232 || cl.probeSerial)
        return true;
    for (const std::string& text : cl.devices) {
        DeviceChoice choice;
        std::string error;
        if (ParseDeviceOption(text, choice, error) &&
            ResolveIdentityChoice(devices, choice, error) && choice.Type == kInterfaceRs232 &&
            (choice.Name.empty() ? choice.Index == reader.Index : choice.Name == reader.Name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int RunList(const CommandLine& cl, ReaderEnvironment& machine, Console& console) {
    ReaderSession session(machine, console);
    QJsonArray json;
    // Why a listed reader could not be opened, for advice such as the udev rule; a missing
    // permission is the one worth telling first.
    PortError openError = PortError::None;
    for (const DeviceEntry& e : session.AttachedReaders()) {
        const bool probe = MayProbe(cl, e, session.Environment().Devices());
        std::string version;
        if (probe) {
            // A probe replaces the connection state, so each gets a connection of its own.
            Connection probing(session.Environment(), session.Messages());
            version = probing.ProbeDevice(e.Type, e.Index);
            if (openError != PortError::PermissionDenied &&
                probing.LastOpenError() != PortError::None)
                openError = probing.LastOpenError();
        }
        const std::string firmware =
            probe || cl.noProbe || e.Type != kInterfaceRs232 ? version : kNotProbedText;
        if (cl.json) {
            QJsonObject o;
            o["type"] = QString::fromStdString(InterfaceOptionName(e.Type));
            o["interfaceType"] = e.Type;
            o["index"] = e.Index;
            o["name"] = QString::fromStdString(e.Name);
            o["firmware"] = Latin1(version);
            o["probed"] = probe;
            o["port"] = Latin1(e.Identity.PortPath);
            o["serial"] = Latin1(e.Identity.SerialNumber);
            if (!e.StableName.empty())
                o["stableName"] = Latin1(e.StableName);
            json.append(o);
        } else {
            console.Print(InterfaceOptionName(e.Type) + "\t" + std::to_string(e.Index) + "\t" +
                          e.Name + "\t" + firmware + "\t" + e.Identity.PortPath + "\t" +
                          e.Identity.SerialNumber + "\n");
        }
    }
    if (cl.json)
        console.PrintUtf8(QJsonDocument(json).toJson().toStdString());
    if (openError == PortError::PermissionDenied || openError == PortError::Busy)
        console.Error(OpenFailureText(openError, "a listed reader"));
    return kExitOk;
}

int RunReport(const CommandLine& cl, ReaderEnvironment& machine, Console& console) {
    ReaderSession session(machine, console);
    if (!session.ConnectReader(cl))
        return kExitFailed;
    Connection& link = session.Link();
    std::string firmware;
    link.Transport->GetFirmwareVersion(firmware);  // cached by the connect
    console.Print(BuildSettingsReport(*link.Settings, firmware));
    return kExitOk;
}

int RunSave(const CommandLine& cl, ReaderEnvironment& machine, Console& console) {
    ReaderSession session(machine, console);
    if (!session.ConnectReader(cl))
        return kExitFailed;
    Connection& link = session.Link();
    const bool saved = SaveToFile(*link.Settings, link.Transport.get(), cl.arguments[0],
                                  Editor::kBasic, session.Messages());
    return saved ? kExitOk : kExitFailed;
}

int RunApply(const CommandLine& cl, ReaderEnvironment& machine, Console& console) {
    ReaderSession session(machine, console);
    if (!session.ConnectReader(cl))
        return kExitFailed;
    Connection& link = session.Link();
    session.TellReader();
    if (!LoadFromFile(*link.Settings, cl.arguments[0], session.Messages()))
        return kExitFailed;
    const SendOutcome outcome = SendToReader(session.Context(), *link.Settings);
    if (outcome.Reset != ReaderReset::kNone)
        session.ReopenAfterReset();
    // A refused frame leaves the reader without some or all of the file's settings.
    return outcome.Result == kWriteOk ? kExitOk : kExitFailed;
}

int RunDefaults(const CommandLine& cl, ReaderEnvironment& machine, Console& console) {
    ReaderSession session(machine, console);
    if (!session.ConnectReader(cl))
        return kExitFailed;
    session.TellReader();
    const DefaultsOutcome outcome = RestoreDefaults(session.Context(), *session.Link().Settings);
    if (outcome.Reset != ReaderReset::kNone)
        session.ReopenAfterReset();
    return outcome.Restored && outcome.Reread ? kExitOk : kExitFailed;
}

int RunSend(const CommandLine& cl, ReaderEnvironment& machine, Console& console) {
    ReaderSession session(machine, console);
    if (!session.ConnectReader(cl))
        return kExitFailed;
    session.TellReader();
    ManualCommand command;
    const ManualCommandResult result =
        command.Send(cl.arguments[0], session.Context(), session.Link().Settings.get());
    if (!command.Log().empty())
        console.Print(command.Log() + "\r\n");
    return result == ManualCommandResult::kDone ? kExitOk : kExitFailed;
}

int RunClone(const CommandLine& cl, ReaderEnvironment& machine, Console& console) {
    if (!cl.from || cl.to.empty()) {
        console.Error("ravelfin: clone needs --from DEVICE and at least one --to DEVICE");
        return kExitUsage;
    }
    std::string error;
    DeviceChoice source;
    std::vector<DeviceChoice> targets(cl.to.size());
    bool valid = ParseDeviceOption(*cl.from, source, error);
    for (std::size_t i = 0; valid && i < cl.to.size(); ++i) {
        valid = ParseDeviceOption(cl.to[i], targets[i], error);
    }
    if (!valid) {
        console.Error("ravelfin: " + error);
        return kExitUsage;
    }
    ReaderSession session(machine, console);
    valid = ResolveIdentityChoice(session.Environment().Devices(), source, error);
    for (std::size_t i = 0; valid && i < targets.size(); ++i)
        valid = ResolveIdentityChoice(session.Environment().Devices(), targets[i], error);
    if (!valid) {
        console.Error("ravelfin: " + error);
        return kExitFailed;
    }
    QuickClone clone([&](int type) { return session.Link().CreateTransport(type); },
                     session.Messages());
    auto address = [&](const DeviceChoice& d) {
        return DeviceAddress(session.Environment().IndexOf(d));
    };
    // Which readers the targets are, taken before anything is written: a target that restarts
    // for the settings cloned to it moves in the list, and must not send the next clone to
    // whatever took its place.
    std::vector<DeviceEntry> chosen(targets.size());
    std::vector<bool> described(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        described[i] = DescribeDevice(session.Environment().Devices(), targets[i].Type,
                                      address(targets[i]).Index, chosen[i]);
    }
    if (!clone.ReadSource(source.Type, address(source)))
        return kExitFailed;
    bool allCloned = true;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        DeviceAddress where = address(targets[i]);
        if (described[i]) {
            DeviceEntry now;
            if (!FindReader(session.Environment().Devices(), chosen[i].Identity, {chosen[i].Type},
                            now)) {
                console.Error("The target reader " + InterfaceOptionName(chosen[i].Type) + ":" +
                              std::to_string(chosen[i].Index) + " (" +
                              chosen[i].Identity.Describe() +
                              ") is no longer attached; nothing was sent to it.");
                allCloned = false;
                continue;
            }
            where = DeviceAddress(now.Name);
            console.Print("Reader " + InterfaceOptionName(now.Type) + ":" +
                          std::to_string(now.Index) + " " + now.Name + " (" +
                          now.Identity.Describe() + ")\n");
        }
        const int result = clone.CloneTo(targets[i].Type, where);
        allCloned &= result == kWriteOk;
    }
    return allCloned ? kExitOk : kExitFailed;
}

}  // namespace ravelfin::cli
