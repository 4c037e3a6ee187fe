#include "cli/reader_jobs.h"

#include <vector>

#include "cli/kept_messages.h"
#include "cli/reader_session.h"
#include "cli/settings_json.h"
#include "connection/connection.h"
#include "flows/factory_defaults.h"
#include "flows/quick_clone.h"
#include "flows/send_settings.h"
#include "flows/settings_file_flow.h"
#include "report/settings_report.h"
#include "transport/transport_factory.h"

namespace ravelfin::cli {

namespace {

/// Connects to the worker's reader (index 0 of its environment). On failure fills the
/// result's message as the single-reader commands word it.
bool ConnectReader(Connection& link, const FleetTarget& target, FleetResult& result) {
    link.Connect(target.Type, 0);
    result.Firmware = link.FirmwareVersionText;
    // A reader whose settings were read but whose version text could not be had is usable.
    if (link.IsConnected())
        return true;
    result.Message = ConnectFailureText(link, target.Label());
    return false;
}

/// After a flow reset the reader: reopens it and adds how that went to the message.
void Reopen(Connection& link, FleetResult& result) {
    if (link.Reopen()) {
        result.Message += " The reader restarted and was opened again.";
    } else {
        result.Message += std::string(" ") + kReopenFailedText;
    }
}

}  // namespace

FleetResult ApplyToReader(ReaderEnvironment& environment, const FleetTarget& target,
                          std::span<const std::uint8_t> file) {
    KeptMessages messages;
    Connection link(environment, messages);
    FleetResult result;
    if (!ConnectReader(link, target, result))
        return result;
    if (!LoadFromFileBytes(*link.Settings, file, messages)) {
        result.Message = messages.Outcome();
        return result;
    }
    const SendOutcome outcome = SendToReader(link.Flow(messages), *link.Settings);
    // A refused frame leaves the reader without some or all of the file's settings.
    result.Ok = outcome.Result == kWriteOk;
    result.Message = messages.Outcome();
    if (outcome.Reset != ReaderReset::kNone)
        Reopen(link, result);
    return result;
}

FleetResult RestoreReaderDefaults(ReaderEnvironment& environment, const FleetTarget& target) {
    KeptMessages messages;
    Connection link(environment, messages);
    FleetResult result;
    if (!ConnectReader(link, target, result))
        return result;
    const DefaultsOutcome outcome = RestoreDefaults(link.Flow(messages), *link.Settings);
    result.Ok = outcome.Restored && outcome.Reread;
    result.Message = messages.Outcome();
    if (outcome.Reset != ReaderReset::kNone)
        Reopen(link, result);
    return result;
}

FleetResult ReportReader(ReaderEnvironment& environment, const FleetTarget& target) {
    KeptMessages messages;
    Connection link(environment, messages);
    FleetResult result;
    if (!ConnectReader(link, target, result))
        return result;
    result.Ok = true;
    result.Message = result.Firmware.empty() ? "settings read" : result.Firmware;
    result.Text = BuildSettingsReport(*link.Settings, result.Firmware);
    result.Extra["settings"] = SettingsToJson(*link.Settings);
    return result;
}

FleetResult CloneToReader(ReaderEnvironment& environment, const FleetTarget& target,
                          const ReaderSettings& source) {
    KeptMessages messages;
    FleetResult result;
    QuickClone clone([&](int type) { return MakeTransport(type, environment); }, messages);
    clone.UseSource(source);
    const int written = clone.CloneTo(target.Type, DeviceAddress(0));
    result.Ok = written == kWriteOk;
    result.Message = messages.Outcome();
    return result;
}

}  // namespace ravelfin::cli
