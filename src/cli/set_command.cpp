#include "cli/set_command.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <algorithm>
#include <span>

#include "fleet/setting_fields.h"
#include "cli/setting_values.h"
#include "cli/settings_json.h"
#include "flows/flow_messages.h"
#include "protocol/command_frame.h"
#include "protocol/firmware_version.h"
#include "protocol/settings_file.h"

namespace ravelfin::cli {

namespace {

constexpr std::size_t kHeaderSize = 16;

}  // namespace

bool AssignSetting(const std::string& assignment, ReaderSettings& record, std::string& error) {
    const std::size_t equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    if (equals == std::string::npos || name.empty()) {
        error = "'" + assignment + "' is not NAME=VALUE";
        return false;
    }
    const std::string value = assignment.substr(equals + 1);
    for (const ByteSetting& s : ByteSettings()) {
        if (name != s.Name)
            continue;
        if (!s.IsSetting)
            break;
        if (!ParseByteValue(value, record.*s.Field)) {
            error = name + ": '" + value + "' is out of range; it holds a number from 0 to 255";
            return false;
        }
        return true;
    }
    for (const StringSetting& s : StringSettings()) {
        if (name != s.Name)
            continue;
        Bytes bytes;
        std::string why;
        if (!ParseByteString(value, bytes, why)) {
            error = name + ": " + why;
            return false;
        }
        if (bytes.size() > s.MaxLength) {
            error = name + ": " + std::to_string(bytes.size()) +
                    " bytes is too long; it holds at most " + std::to_string(s.MaxLength);
            return false;
        }
        record.*s.Field = bytes;
        return true;
    }
    const bool known = SettingsToJson(record).contains(QString::fromStdString(name));
    error =
        known ? name +
                    " cannot be set here (it is no single setting; edit data editing in "
                    "ravelfin-config)"
              : "unknown setting '" + name + "' (the names are those of ravelfin show FILE --json)";
    return false;
}

double StoredFirmware(std::span<const std::uint8_t> file) {
    bool beepMode = false;
    bool security = false;
    bool custom2 = false;
    std::size_t p = kHeaderSize + 2;  // past STX 'S'
    while (p + 1 < file.size() && file[p] != kEtx) {
        const std::uint8_t id = file[p];
        beepMode |= id == 0xAE;
        security |= id == 0x7E || (id >= 0x49 && id <= 0x4C);
        custom2 |= id == 0xFD;
        p += 2 + file[p + 1];
    }
    if (beepMode)
        return 4.3;
    if (security)
        return 4.26;
    return custom2 ? 4.0 : 3.0;
}

int RunSet(const CommandLine& cl, Console& console) {
    const std::string& path = cl.arguments[0];
    Bytes file;
    ReaderSettings record(kInterfaceUsbHid);
    if (!ReadSettingsFile(path, file) || !LoadSettingsFromBytes(record, file)) {
        console.Error(std::string(kLoadFailedText) + " (" + path + ")");
        return kExitFailed;
    }
    record.FirmwareVersionNumber =
        cl.firmware ? ParseVersionNumber(*cl.firmware) : StoredFirmware(file);
    const QJsonObject before = SettingsToJson(record);
    for (std::size_t i = 1; i < cl.arguments.size(); ++i) {
        std::string error;
        if (!AssignSetting(cl.arguments[i], record, error)) {
            console.Error("ravelfin: " + error + "; " + path + " is unchanged");
            return kExitUsage;
        }
    }
    // A setting that the file's firmware does not store would be dropped without a word.
    ReaderSettings stored = record;
    const QJsonObject wanted = SettingsToJson(record);
    if (!AsStoredBy(stored, record.FirmwareVersionNumber)) {
        console.Error("ravelfin: the settings no longer fit into a configuration file; " + path +
                      " is unchanged");
        return kExitUsage;
    }
    const QJsonObject kept = SettingsToJson(stored);
    for (std::size_t i = 1; i < cl.arguments.size(); ++i) {
        const QString name =
            QString::fromStdString(cl.arguments[i].substr(0, cl.arguments[i].find('=')));
        if (wanted.value(name) != kept.value(name)) {
            console.Error("ravelfin: " + name.toStdString() + ": a file for firmware " +
                          QString::number(record.FirmwareVersionNumber).toStdString() +
                          " does not store it (pass --firmware for other firmware); " + path +
                          " is unchanged");
            return kExitUsage;
        }
    }
    // A file that would come out the same is left alone: its time stamp, its inode and any
    // link to it stay as they are.
    Bytes encoded;
    const bool same = EncodeSettingsFile(record, encoded) && encoded == file;
    if (!same && !SaveSettingsFile(record, path)) {
        console.Error(std::string(kBasicSaveFailedText) + " (" + path + ")");
        return kExitFailed;
    }
    if (cl.quiet)
        return kExitOk;
    const QJsonObject after = SettingsToJson(record);
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (before.value(it.key()) != it.value()) {
            console.Print(it.key().toStdString() + ": " + CompactJson(before.value(it.key())) +
                          " -> " + CompactJson(it.value()) + "\n");
        }
    }
    return kExitOk;
}

}  // namespace ravelfin::cli
