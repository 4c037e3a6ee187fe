#include "cli/list_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/fleet_output.h"
#include "cli/reader_run.h"
#include "fleet/device_choice.h"
#include "fleet/reader_jobs.h"

namespace ravelfin::cli {

namespace {

/// Whether `list` may open `reader` to ask for its firmware.
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

int RunList(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
            const CommandSetup& setup) {
    DeviceSnapshot devices(machine.Devices());
    const std::vector<DeviceEntry> readers = AttachedReaders(devices);
    std::vector<FleetTarget> probed;
    std::vector<int> probeOf(readers.size(), -1);  // each reader's place among `probed`
    for (std::size_t i = 0; i < readers.size(); ++i) {
        const DeviceEntry& e = readers[i];
        FleetTarget target;
        if (MayProbe(cl, e, devices) &&
            FindListedTarget(devices, e.Type == kInterfaceUsbHid || e.Type == kInterfaceUsbHidKb,
                             e.Name, e.Type, target)) {
            probeOf[i] = static_cast<int>(probed.size());
            probed.push_back(target);
        }
    }
    const std::vector<ReaderResult> results =
        RunReaders(machine, probed, ProbeReader, cl, console, setup).Results;
    QJsonArray json;
    // Why a listed reader could not be opened, for advice such as the udev rule; a missing
    // permission is the one worth telling first.
    FailureKind openError = FailureKind::None;
    for (std::size_t i = 0; i < readers.size(); ++i) {
        const DeviceEntry& e = readers[i];
        const bool probe = probeOf[i] >= 0;
        const ReaderResult none;
        const ReaderResult& result = probe ? results[static_cast<std::size_t>(probeOf[i])] : none;
        if (result.Error == FailureKind::NoPermission ||
            (result.Error == FailureKind::Busy && openError == FailureKind::None))
            openError = result.Error;
        const std::string firmware =
            probe || cl.noProbe || e.Type != kInterfaceRs232 ? result.Firmware : kNotProbedText;
        if (cl.json) {
            QJsonObject o;
            o["type"] = QString::fromStdString(InterfaceOptionName(e.Type));
            o["interfaceType"] = e.Type;
            o["index"] = e.Index;
            o["name"] = QString::fromStdString(e.Name);
            o["firmware"] = Latin1(result.Firmware);
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
    if (openError != FailureKind::None)
        console.Error(OpenFailureText(openError, "a listed reader"));
    return kExitOk;
}

}  // namespace ravelfin::cli
