#include "cli/file_commands.h"

#include <QJsonDocument>
#include <filesystem>

#include "cli/console.h"
#include "cli/settings_json.h"
#include "flows/flow_messages.h"
#include "protocol/firmware_version.h"
#include "protocol/settings_file.h"
#include "report/settings_report.h"

namespace ravelfin::cli {

namespace {

bool ParseModelClass(const std::string& text, std::uint32_t& out) {
    if (text.empty() || text.size() > 9)
        return false;
    std::uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    out = value;
    return true;
}

/// The --interface option's type, usb-hid without it; kInterfaceUnknown (said on standard
/// error) for a name that is none of the five.
int InterfaceOption(const CommandLine& cl, Console& console) {
    if (!cl.interface)
        return kInterfaceUsbHid;
    const int type = ParseInterfaceName(*cl.interface);
    if (type == kInterfaceUnknown) {
        console.Error("unknown interface '" + *cl.interface +
                   "': use rs232, ps2, usb-hid-kb, usb-rs232 or usb-hid");
    }
    return type;
}

}  // namespace

int ParseInterfaceName(const std::string& name) {
    if (name == "rs232")
        return kInterfaceRs232;
    if (name == "ps2")
        return kInterfacePs2;
    if (name == "usb-hid-kb")
        return kInterfaceUsbHidKb;
    if (name == "usb-rs232")
        return kInterfaceUsbRs232;
    if (name == "usb-hid")
        return kInterfaceUsbHid;
    return kInterfaceUnknown;
}

int RunShow(const CommandLine& cl, Console& console) {
    const int type = InterfaceOption(cl, console);
    if (type == kInterfaceUnknown)
        return kExitUsage;
    std::uint32_t modelClass = 0;
    if (cl.modelClass && !ParseModelClass(*cl.modelClass, modelClass)) {
        console.Error("--model-class takes a number such as 0, 10000 or 30000");
        return kExitUsage;
    }
    const std::string firmware = cl.firmware.value_or("");

    ReaderSettings record(static_cast<std::uint32_t>(type));
    if (!LoadSettingsFile(record, cl.arguments[0])) {
        console.Error(kLoadFailedText);
        return kExitFailed;
    }
    record.FirmwareVersionNumber = ParseVersionNumber(firmware);
    record.ModelClass = modelClass;
    if (cl.json) {
        console.PrintUtf8(QJsonDocument(SettingsToJson(record)).toJson().toStdString());
    } else {
        console.Print(BuildSettingsReport(record, firmware));
    }
    return kExitOk;
}

int RunConvert(const CommandLine& cl, Console& console) {
    if (!cl.firmware) {
        console.Error("convert needs --firmware TEXT, the firmware version of the target reader");
        return kExitUsage;
    }
    ReaderSettings record(kInterfaceUsbHid);
    if (!LoadSettingsFile(record, cl.arguments[0])) {
        console.Error(kLoadFailedText);
        return kExitFailed;
    }
    record.FirmwareVersionNumber = ParseVersionNumber(*cl.firmware);
    if (!SaveSettingsFile(record, cl.arguments[1])) {
        console.Error(kBasicSaveFailedText);
        return kExitFailed;
    }
    return kExitOk;
}

int RunNew(const CommandLine& cl, Console& console) {
    if (!cl.firmware) {
        console.Error("new needs --firmware TEXT, the firmware version of the reader it is for");
        return kExitUsage;
    }
    const int type = InterfaceOption(cl, console);
    if (type == kInterfaceUnknown)
        return kExitUsage;
    const std::string& path = cl.arguments[0];
    std::error_code ec;
    if (!cl.force && std::filesystem::exists(path, ec)) {
        console.Error(path + " exists already; pass --force to replace it.");
        return kExitFailed;
    }
    ReaderSettings record(static_cast<std::uint32_t>(type));
    record.FirmwareVersionNumber = ParseVersionNumber(*cl.firmware);
    if (!SaveSettingsFile(record, path)) {
        console.Error(kBasicSaveFailedText);
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace ravelfin::cli
