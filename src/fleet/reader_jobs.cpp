#include "fleet/reader_jobs.h"

#include <vector>

#include "connection/connection.h"
#include "fleet/held_settings.h"
#include "fleet/kept_messages.h"
#include "fleet/setting_fields.h"
#include "flows/factory_defaults.h"
#include "flows/flow_messages.h"
#include "flows/manual_command.h"
#include "flows/quick_clone.h"
#include "flows/send_settings.h"
#include "flows/settings_file_flow.h"
#include "report/settings_report.h"
#include "transport/transport_factory.h"

namespace ravelfin {

namespace {

constexpr const char* kRuleAdvice =
    "install the ravelfin package, which brings the udev rule 70-ravelfin.rules (or copy "
    "resources/linux/70-ravelfin.rules to /etc/udev/rules.d/ and run sudo udevadm control "
    "--reload), then plug the reader in again";
constexpr const char* kReopenFailedText =
    "Warning: fail to re-open the device. Plug it in again and run 'ravelfin report'.";

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

/// One reader's conversation in a job: its connection, what the flows say, and how it ended.
class Conversation {
  public:
    Conversation(WorkerEnvironment& environment, const FleetTarget& target)
        : environment_(environment), target_(target), link_(environment, messages_) {}

    /// Opens the reader and reads its settings and firmware. False, with the result made,
    /// when the reader cannot be used; one whose settings were read but whose version text
    /// could not be had is usable.
    bool Connect() {
        link_.Connect(target_.Type, 0);
        result_.Firmware = link_.FirmwareVersionText;
        if (link_.IsConnected())
            return true;
        Finish(false, link_.InterfaceType == 0
                          ? OpenFailureText(environment_.Link().PortFault, target_.Label())
                          : "Can not read from Ravelfin device! (" + target_.Label() + ")");
        return false;
    }

    Connection& Link() { return link_; }
    KeptMessages& Messages() { return messages_; }
    ReaderResult& Result() { return result_; }
    bool AcceptedWrites() const { return environment_.Link().AcceptedWrites > 0; }

    /// After a flow reset the reader: reopens it and says how that went after `message`.
    std::string Reopened(std::string message) {
        return message + (link_.Reopen() ? " The reader restarted and was opened again."
                                         : std::string(" ") + kReopenFailedText);
    }

    /// Ends the result: a success, or a failure of `kind` (by default told from the messages
    /// and from what the link saw), with `message`, or without one with what the flows said.
    ReaderResult& Finish(bool ok, std::string message = {}, FailureKind kind = FailureKind::None) {
        result_.State = ok ? ResultState::Ok : ResultState::Failed;
        result_.Message = message.empty() ? messages_.Outcome() : std::move(message);
        if (ok)
            return result_;
        result_.Error = kind != FailureKind::None ? kind : KindFromMessage(result_.Message);
        if (result_.Error == FailureKind::None) {
            // Only the link can tell: its faults are explained, the messages being the same.
            result_.Error = KindFromLink();
            const std::string why = FailureExplanation(result_.Error);
            if (!why.empty())
                result_.Message += ": " + why;
        }
        return result_;
    }

  private:
    FailureKind KindFromMessage(const std::string& message) const {
        if (message == kUnknownFuncIdsText || message == kUnknownCommandText)
            return FailureKind::Refused;
        if (message == kTooLongText)
            return FailureKind::TooLong;
        if (message == kBasicSaveFailedText || message == kLoadFailedText)
            return FailureKind::File;
        if (messages_.Lost())
            return StartsWith(message, "Another reader") ? FailureKind::OtherReader
                                                         : FailureKind::Gone;
        return FailureKind::None;
    }

    FailureKind KindFromLink() const {
        const LinkRecord& link = environment_.Link();
        if (link.PortFault != FailureKind::None)
            return link.PortFault;
        const FailureKind answer = ClassifyAnswer(link.Answer);
        return answer == FailureKind::None ? FailureKind::Failed : answer;
    }

    WorkerEnvironment& environment_;
    const FleetTarget& target_;
    KeptMessages messages_;
    Connection link_;
    ReaderResult result_;
};

bool SameSettings(const ReaderSettings& a, const ReaderSettings& b) {
    for (const std::string& name : SettingNames()) {
        if (!SameSetting(a, b, name))
            return false;
    }
    return true;
}

}  // namespace

std::string OpenFailureText(FailureKind kind, const std::string& what) {
    switch (kind) {
        case FailureKind::NoPermission:
            return "Permission denied opening " + what + ": " + kRuleAdvice + ".";
        case FailureKind::Busy:
            return what + " is in use by another program; close it and try again.";
        default:
            return "Can not open Ravelfin device! (" + what + ")";
    }
}

ReaderResult ProbeReader(WorkerEnvironment& environment, const FleetTarget& target) {
    Conversation conversation(environment, target);
    const std::string firmware = conversation.Link().ProbeDevice(target.Type, 0);
    conversation.Result().Firmware = firmware;
    if (firmware.empty())
        return conversation.Finish(false,
                                   OpenFailureText(environment.Link().PortFault, target.Label()));
    return conversation.Finish(true, firmware);
}

ReaderResult ReadReader(WorkerEnvironment& environment, const FleetTarget& target,
                        bool withReport) {
    Conversation conversation(environment, target);
    if (!conversation.Connect())
        return conversation.Result();
    ReaderResult& result = conversation.Result();
    const ReaderSettings& settings = *conversation.Link().Settings;
    result.Settings = settings;
    if (withReport)
        result.Text = BuildSettingsReport(settings, result.Firmware);
    return conversation.Finish(true, result.Firmware.empty() ? "settings read" : result.Firmware);
}

ReaderResult SaveReader(WorkerEnvironment& environment, const FleetTarget& target,
                        const std::string& path) {
    Conversation conversation(environment, target);
    if (!conversation.Connect())
        return conversation.Result();
    Connection& link = conversation.Link();
    return conversation.Finish(SaveToFile(*link.Settings, link.Transport.get(), path,
                                          Editor::kBasic, conversation.Messages()));
}

ReaderResult ApplyToReader(WorkerEnvironment& environment, const FleetTarget& target,
                           std::span<const std::uint8_t> file, bool ifDifferent) {
    Conversation conversation(environment, target);
    if (!conversation.Connect())
        return conversation.Result();
    Connection& link = conversation.Link();
    ReaderSettings& record = *link.Settings;
    const ReaderSettings held = record;
    if (!LoadFromFileBytes(record, file, conversation.Messages()))
        return conversation.Finish(false);
    ReaderSettings wanted = record;
    std::vector<std::string> differing;
    const bool compared = CompareWithReader(held, wanted, differing);
    if (ifDifferent && compared && differing.empty())
        return conversation.Finish(true, kAlreadySetText);
    const SendOutcome outcome = SendToReader(link.Flow(conversation.Messages()), record);
    conversation.Result().Changed =
        conversation.AcceptedWrites() && (!compared || !differing.empty());
    std::string message = conversation.Messages().Outcome();
    // A refused frame leaves the reader without some or all of the file's settings.
    const bool written = outcome.Result == kWriteOk;
    if (outcome.Reset != ReaderReset::kNone)
        message = conversation.Reopened(message);
    return conversation.Finish(written, message);
}

ReaderResult RestoreReaderDefaults(WorkerEnvironment& environment, const FleetTarget& target) {
    Conversation conversation(environment, target);
    if (!conversation.Connect())
        return conversation.Result();
    Connection& link = conversation.Link();
    const ReaderSettings before = *link.Settings;
    const DefaultsOutcome outcome =
        RestoreDefaults(link.Flow(conversation.Messages()), *link.Settings);
    conversation.Result().Changed =
        conversation.AcceptedWrites() && (!outcome.Reread || !SameSettings(before, *link.Settings));
    std::string message = conversation.Messages().Outcome();
    if (outcome.Reset != ReaderReset::kNone)
        message = conversation.Reopened(message);
    return conversation.Finish(outcome.Restored && outcome.Reread, message);
}

ReaderResult SendCommandToReader(WorkerEnvironment& environment, const FleetTarget& target,
                                 const std::string& command) {
    Conversation conversation(environment, target);
    if (!conversation.Connect())
        return conversation.Result();
    Connection& link = conversation.Link();
    ManualCommand manual;
    const ManualCommandResult sent =
        manual.Send(command, link.Flow(conversation.Messages()), link.Settings.get());
    conversation.Result().Text = manual.Log();
    conversation.Result().Changed = conversation.AcceptedWrites();
    return conversation.Finish(sent == ManualCommandResult::kDone,
                               sent == ManualCommandResult::kDone ? "command sent" : "");
}

ReaderResult CloneToReader(WorkerEnvironment& environment, const FleetTarget& target,
                           const ReaderSettings& source) {
    Conversation conversation(environment, target);
    // Which reader the target is was taken when the clone started: a reader that took its
    // place since is not written to.
    DeviceEntry now;
    if (target.Identity().IsKnown() &&
        !FindReader(environment.Devices(), target.Identity(), {target.Type}, now)) {
        return conversation.Finish(false,
                                   "The target reader " + target.Label() + " (" +
                                       target.Identity().Describe() +
                                       ") is no longer attached; nothing was sent to it.",
                                   FailureKind::Gone);
    }
    QuickClone clone([&](int type) { return MakeTransport(type, environment); },
                     conversation.Messages());
    clone.UseSource(source);
    const int written = clone.CloneTo(target.Type, DeviceAddress(0));
    conversation.Result().Changed = conversation.AcceptedWrites();
    return conversation.Finish(written == kWriteOk);
}

ReaderResult CompareReader(WorkerEnvironment& environment, const FleetTarget& target,
                           const ReaderSettings& file) {
    Conversation conversation(environment, target);
    if (!conversation.Connect())
        return conversation.Result();
    ReaderResult& result = conversation.Result();
    result.Settings = *conversation.Link().Settings;
    result.Wanted = file;
    if (!CompareWithReader(*result.Settings, *result.Wanted, result.Differences)) {
        return conversation.Finish(false, "The file does not fit into a settings frame for it.",
                                   FailureKind::TooLong);
    }
    const std::size_t n = result.Differences.size();
    return conversation.Finish(true, n == 0 ? "same"
                                            : std::to_string(n) + " setting" + (n == 1 ? "" : "s") +
                                                  " differ" + (n == 1 ? "s" : ""));
}

}  // namespace ravelfin
