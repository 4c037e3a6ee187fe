#include "fleet/worker_environment.h"

#include <algorithm>

#include "flows/flow_context.h"
#include "protocol/command_frame.h"

namespace ravelfin {

namespace {

FailureKind OpenFault(PortError error) {
    switch (error) {
        case PortError::None:
            return FailureKind::None;
        case PortError::Busy:
            return FailureKind::Busy;
        case PortError::PermissionDenied:
            return FailureKind::NoPermission;
        case PortError::NotFound:
            return FailureKind::Gone;
        case PortError::Failed:
            return FailureKind::Failed;
    }
    return FailureKind::Failed;
}

/// A HID interface that passes through the worker's gate and keeps what the reader answers.
/// A frame goes out in one or more set reports: the first set report after anything else
/// starts one.
class WorkerHidDevice final : public HidDevice {
  public:
    WorkerHidDevice(std::unique_ptr<HidDevice> inner, WorkerEnvironment& worker)
        : inner_(std::move(inner)), worker_(worker) {}
    bool Open(const std::string& path, Access access) override {
        frameDone_ = true;
        if (!worker_.MayOpen())
            return false;
        const bool opened = inner_->Open(path, access);
        worker_.Record().PortFault = OpenFault(inner_->LastError());
        return opened;
    }
    void Close() override {
        frameDone_ = true;
        inner_->Close();
    }
    bool IsOpen() const override { return inner_->IsOpen(); }
    bool GetAttributes(std::uint16_t& vendorId, std::uint16_t& productId) override {
        return inner_->GetAttributes(vendorId, productId);
    }
    bool GetFeatureReportLength(std::size_t& length) override {
        return inner_->GetFeatureReportLength(length);
    }
    bool SetFeature(std::span<const std::uint8_t> report) override {
        if (frameDone_ && !report.empty()) {
            const std::span<const std::uint8_t> payload = report.subspan(1);  // past the id
            if (!worker_.MaySend(payload))
                return false;
            setFrame_ = payload.size() > 1 && payload[0] == kStx && payload[1] == kSetLetter;
            answered_ = false;
        }
        frameDone_ = false;
        if (inner_->SetFeature(report))
            return true;
        frameDone_ = true;
        worker_.Record().PortFault = FailureKind::Gone;
        return false;
    }
    bool GetFeature(std::span<std::uint8_t> report) override {
        frameDone_ = true;
        LinkRecord& record = worker_.Record();
        if (!inner_->GetFeature(report)) {
            record.PortFault = FailureKind::Gone;
            return false;
        }
        if (!answered_ && setFrame_ && report.size() > 1 && report[1] == kAck)
            ++record.AcceptedWrites;
        answered_ = true;
        // A reader with nothing (more) to say answers an empty report: after an answer, that
        // is no part of it.
        const auto payload = report.subspan(1);
        const bool empty =
            !payload.empty() && payload[0] == kNak &&
            std::all_of(payload.begin() + 1, payload.end(), [](std::uint8_t b) { return b == 0; });
        if (!(empty && !record.Answer.empty()))
            record.Answer.insert(record.Answer.end(), payload.begin(), payload.end());
        return true;
    }
    PortError LastError() const override { return inner_->LastError(); }

  private:
    std::unique_ptr<HidDevice> inner_;
    WorkerEnvironment& worker_;
    bool frameDone_ = true;  // the next set report starts a frame
    bool setFrame_ = false;  // the frame going out sets
    bool answered_ = true;   // its answer's first report came
};

/// A serial port that passes through the worker's gate and keeps what the reader answers.
class WorkerSerialLink final : public SerialLink {
  public:
    WorkerSerialLink(std::unique_ptr<SerialLink> inner, WorkerEnvironment& worker)
        : inner_(std::move(inner)), worker_(worker) {}
    bool Open(const std::string& name) override {
        if (!worker_.MayOpen())
            return false;
        const bool opened = inner_->Open(name);
        worker_.Record().PortFault = OpenFault(inner_->LastError());
        return opened;
    }
    void Close() override { inner_->Close(); }
    bool IsOpen() const override { return inner_->IsOpen(); }
    bool Write(std::span<const std::uint8_t> bytes) override {
        if (!worker_.MaySend(bytes))
            return false;
        setFrame_ = bytes.size() > 1 && bytes[1] == kSetLetter;
        if (inner_->Write(bytes))
            return true;
        worker_.Record().PortFault = FailureKind::Gone;
        return false;
    }
    ReadResult ReadByte(std::uint8_t& byte, int timeoutMs) override {
        const ReadResult result = inner_->ReadByte(byte, timeoutMs);
        LinkRecord& record = worker_.Record();
        if (result == ReadResult::Error) {
            record.PortFault = FailureKind::Gone;
        } else if (result == ReadResult::Byte) {
            if (setFrame_ && record.Answer.empty() && byte == kAck)
                ++record.AcceptedWrites;
            record.Answer.push_back(byte);
        }
        return result;
    }
    void PurgeReceive() override { inner_->PurgeReceive(); }
    PortError LastError() const override { return inner_->LastError(); }

  private:
    std::unique_ptr<SerialLink> inner_;
    WorkerEnvironment& worker_;
    bool setFrame_ = false;
};

/// The worker's pause: tells the machine that the time passed, and the progress lines that
/// the worker waits for its reader to reset.
class StepPause final : public Pause {
  public:
    StepPause(Pause& inner, ReaderEnvironment& machine, const WorkerEnvironment& worker,
              bool& resetWaited)
        : inner_(inner), machine_(machine), worker_(worker), resetWaited_(resetWaited) {}
    void Wait(int milliseconds) override {
        inner_.Wait(milliseconds);
        machine_.PauseTimePassed(milliseconds);
    }
    void WaitForRestart(int milliseconds) override {
        resetWaited_ = true;
        worker_.Tell(WorkStep::WaitingForReset);
        inner_.WaitForRestart(milliseconds);
        machine_.PauseTimePassed(milliseconds);
    }

  private:
    Pause& inner_;
    ReaderEnvironment& machine_;
    const WorkerEnvironment& worker_;
    bool& resetWaited_;
};

}  // namespace

const char* WorkStepText(WorkStep step) {
    switch (step) {
        case WorkStep::Opening:
            return "opening";
        case WorkStep::Reading:
            return "reading";
        case WorkStep::Writing:
            return "writing";
        case WorkStep::WaitingForReset:
            return "waiting for the reset";
    }
    return "";
}

WorkerEnvironment::WorkerEnvironment(ReaderEnvironment& machine, const FleetTarget& target,
                                     Pause& pause, std::stop_token stop, WorkStepListener onStep)
    : machine_(machine),
      target_(target),
      stop_(std::move(stop)),
      onStep_(std::move(onStep)),
      stepPause_(std::make_unique<StepPause>(pause, machine, *this, resetWaited_)) {
    record_.Hid = target.Hid;
}

WorkerEnvironment::~WorkerEnvironment() = default;

std::unique_ptr<HidDevice> WorkerEnvironment::CreateHidDevice() {
    return std::make_unique<WorkerHidDevice>(machine_.CreateHidDevice(), *this);
}

std::unique_ptr<SerialLink> WorkerEnvironment::CreateSerialLink() {
    return std::make_unique<WorkerSerialLink>(machine_.CreateSerialLink(), *this);
}

Pause& WorkerEnvironment::GetPause() {
    return *stepPause_;
}

void WorkerEnvironment::Tell(WorkStep step) const {
    if (onStep_)
        onStep_(step);
}

bool WorkerEnvironment::MayOpen() {
    if (!writing_ && stop_.stop_requested()) {
        stopped_ = true;
        return false;
    }
    Tell(WorkStep::Opening);
    return true;
}

bool WorkerEnvironment::MaySend(std::span<const std::uint8_t> frame) {
    if (!writing_ && stop_.stop_requested()) {
        stopped_ = true;
        return false;
    }
    const bool set = frame.size() > 1 && frame[0] == kStx && frame[1] == kSetLetter;
    writing_ = writing_ || set;
    record_.Answer.clear();
    record_.PortFault = FailureKind::None;
    Tell(set ? WorkStep::Writing : WorkStep::Reading);
    return true;
}

void WorkerEnvironment::FollowReset() {
    // A reader that reset comes back under a new node, maybe as another kind of reader: it is
    // looked for by its identity in the machine's list (only then, since listing the machine
    // is slow), and is not taken for another reader that got its old node.
    if (!resetWaited_)
        return;
    FleetTarget now = target_;
    if (FindTargetByIdentity(machine_.Devices(), target_.Hid, target_.Identity(), now)) {
        target_.Name = now.Name;
        target_.HidInfo = now.HidInfo;
        target_.SerialInfo = now.SerialInfo;
    }
}

bool WorkerEnvironment::GetSerialPort(int index, SerialPortInfo& out) {
    if (index != 0 || target_.Hid || target_.Name.empty())
        return false;
    FollowReset();
    out = target_.SerialInfo;
    return true;
}

bool WorkerEnvironment::GetHidInterface(int index, HidInterfaceInfo& out) {
    if (index != 0 || !target_.Hid || target_.Name.empty())
        return false;
    FollowReset();
    out = target_.HidInfo;
    return true;
}

std::vector<SerialPortInfo> WorkerEnvironment::SerialPorts() {
    FleetTarget now = target_;
    if (target_.Index < 0 && !target_.Hid && !target_.Name.empty())
        return {target_.SerialInfo};  // named, not listed (a pseudo-terminal): as named
    if (target_.Hid || target_.Name.empty() ||
        !FindTargetByIdentity(machine_.Devices(), false, target_.Identity(), now))
        return {};
    return {now.SerialInfo};
}

std::vector<HidInterfaceInfo> WorkerEnvironment::HidInterfaces() {
    FleetTarget now = target_;
    if (target_.Index < 0 && target_.Hid && !target_.Name.empty())
        return {target_.HidInfo};
    if (!target_.Hid || target_.Name.empty() ||
        !FindTargetByIdentity(machine_.Devices(), true, target_.Identity(), now))
        return {};
    return {now.HidInfo};
}

}  // namespace ravelfin
