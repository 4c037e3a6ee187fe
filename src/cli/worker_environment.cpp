#include "cli/worker_environment.h"

#include "flows/flow_context.h"
#include "protocol/command_frame.h"

namespace ravelfin::cli {

namespace {

/// The step a frame starts: its second byte says whether it reads or sets.
void TellFrame(const WorkStepListener& onStep, std::span<const std::uint8_t> frame) {
    if (!onStep || frame.size() < 2 || frame[0] != kStx)
        return;
    if (frame[1] == kReadLetter)
        onStep(WorkStep::Reading);
    if (frame[1] == kSetLetter)
        onStep(WorkStep::Writing);
}

class StepHidDevice final : public HidDevice {
  public:
    StepHidDevice(std::unique_ptr<HidDevice> inner, const WorkStepListener& onStep)
        : inner_(std::move(inner)), onStep_(onStep) {}
    bool Open(const std::string& path, Access access) override {
        if (onStep_)
            onStep_(WorkStep::Opening);
        return inner_->Open(path, access);
    }
    void Close() override { inner_->Close(); }
    bool IsOpen() const override { return inner_->IsOpen(); }
    bool GetAttributes(std::uint16_t& vendorId, std::uint16_t& productId) override {
        return inner_->GetAttributes(vendorId, productId);
    }
    bool GetFeatureReportLength(std::size_t& length) override {
        return inner_->GetFeatureReportLength(length);
    }
    bool SetFeature(std::span<const std::uint8_t> report) override {
        if (!report.empty())
            TellFrame(onStep_, report.subspan(1));  // past the report id
        return inner_->SetFeature(report);
    }
    bool GetFeature(std::span<std::uint8_t> report) override { return inner_->GetFeature(report); }
    PortError LastError() const override { return inner_->LastError(); }

  private:
    std::unique_ptr<HidDevice> inner_;
    const WorkStepListener& onStep_;
};

class StepSerialLink final : public SerialLink {
  public:
    StepSerialLink(std::unique_ptr<SerialLink> inner, const WorkStepListener& onStep)
        : inner_(std::move(inner)), onStep_(onStep) {}
    bool Open(const std::string& name) override {
        if (onStep_)
            onStep_(WorkStep::Opening);
        return inner_->Open(name);
    }
    void Close() override { inner_->Close(); }
    bool IsOpen() const override { return inner_->IsOpen(); }
    bool Write(std::span<const std::uint8_t> bytes) override {
        TellFrame(onStep_, bytes);
        return inner_->Write(bytes);
    }
    ReadResult ReadByte(std::uint8_t& byte, int timeoutMs) override {
        return inner_->ReadByte(byte, timeoutMs);
    }
    void PurgeReceive() override { inner_->PurgeReceive(); }
    PortError LastError() const override { return inner_->LastError(); }

  private:
    std::unique_ptr<SerialLink> inner_;
    const WorkStepListener& onStep_;
};

class StepPause final : public Pause {
  public:
    StepPause(Pause& inner, ReaderEnvironment& machine, const WorkStepListener& onStep,
              bool& resetWaited)
        : inner_(inner), machine_(machine), onStep_(onStep), resetWaited_(resetWaited) {}
    void Wait(int milliseconds) override {
        if (milliseconds == kReaderResetWaitMs) {
            resetWaited_ = true;
            if (onStep_)
                onStep_(WorkStep::WaitingForReset);
        }
        inner_.Wait(milliseconds);
        machine_.PauseTimePassed(milliseconds);
    }

  private:
    Pause& inner_;
    ReaderEnvironment& machine_;
    const WorkStepListener& onStep_;
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
                                     Pause& pause, WorkStepListener onStep)
    : machine_(machine),
      target_(target),
      onStep_(std::move(onStep)),
      stepPause_(std::make_unique<StepPause>(pause, machine, onStep_, resetWaited_)) {}

WorkerEnvironment::~WorkerEnvironment() = default;

std::unique_ptr<HidDevice> WorkerEnvironment::CreateHidDevice() {
    return std::make_unique<StepHidDevice>(machine_.CreateHidDevice(), onStep_);
}

std::unique_ptr<SerialLink> WorkerEnvironment::CreateSerialLink() {
    return std::make_unique<StepSerialLink>(machine_.CreateSerialLink(), onStep_);
}

Pause& WorkerEnvironment::GetPause() {
    return *stepPause_;
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

}  // namespace ravelfin::cli
