#include "shell/settings_report_flow.h"

#include "app/rules/navigation_rules.h"
#include "connection/connection.h"
#include "protocol/firmware_version.h"
#include "protocol/reader_operations.h"
#include "report/settings_report.h"

namespace ravelfin {

namespace {
// A keyboard-wedge reader needs a moment before its version can be asked again.
constexpr int kPs2VersionWait = 700;
}  // namespace

SettingsReportFlow::Outcome SettingsReportFlow::Run(bool wizardExists, std::string& report) {
    const std::string refusal = ReportRefusal(PageStates{wizardExists, false, false});
    if (!refusal.empty()) {
        messenger_.ShowNotice(refusal);
        return Outcome::kRefused;
    }
    if (!connection_.IsConnected()) {
        // A fresh connection has just read the settings and classified the model.
        if (!connection_.EnsureConnected())
            return Outcome::kNoReader;
    } else if (!ReadAgain()) {
        return Outcome::kFailed;
    }
    if (!connection_.IsConnected())
        return Outcome::kFailed;

    if (connection_.InterfaceType == kInterfacePs2) {
        connection_.Environment().GetPause().Wait(kPs2VersionWait);
    }
    std::string firmware;
    connection_.Transport->GetFirmwareVersion(firmware);
    report = BuildSettingsReport(*connection_.Settings, firmware);
    return Outcome::kReport;
}

bool SettingsReportFlow::ReadAgain() {
    ReaderTransport& transport = *connection_.Transport;
    // The report reads the reader the record came from, or none: a reader that took its place
    // in the list would be shown under the firmware of the one that left.
    const std::optional<ExpectedReader> expected = connection_.Expected();
    std::string firmwareNow;
    const ReaderCheck check = expected ? OpenExpectedReader(transport, *expected, &firmwareNow)
                              : transport.OpenByIndex(connection_.DeviceIndex)
                                  ? ReaderCheck::kSameReader
                                  : ReaderCheck::kOpenFailed;
    if (check == ReaderCheck::kGone || check == ReaderCheck::kOtherReader) {
        messenger_.OfferReaderSelection(check == ReaderCheck::kGone
                                            ? ReaderGoneText(*expected)
                                            : OtherReaderText(*expected, firmwareNow));
        return false;
    }
    if (check != ReaderCheck::kSameReader) {
        messenger_.ShowMessage(check == ReaderCheck::kNoAnswer
                                   ? "Can not read from Ravelfin device!"
                                   : "Can not open Ravelfin device!");
        return false;
    }
    const bool read = ReadAllSettings(*connection_.Settings, &transport);
    transport.Close();
    if (!read) {
        messenger_.ShowMessage("Can not read from Ravelfin device!");
        return false;
    }
    // Without a version the report keeps the version and model class known before.
    ClassifyModel(*connection_.Settings, transport);
    return true;
}

}  // namespace ravelfin
