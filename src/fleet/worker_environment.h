#pragma once

#include <functional>
#include <memory>
#include <stop_token>

#include "fleet/failure_kind.h"
#include "fleet/fleet_target.h"
#include "protocol/bytes.h"
#include "transport/reader_environment.h"

namespace ravelfin {

/// What a reader's worker is doing, for the progress lines.
enum class WorkStep { Opening, Reading, Writing, WaitingForReset };

/// "opening", "reading", "writing", "waiting for the reset".
const char* WorkStepText(WorkStep step);

using WorkStepListener = std::function<void(WorkStep)>;

/// What one reader's link saw, for telling why a conversation failed: the answer to the last
/// frame and the last fault of the port itself.
struct LinkRecord {
    bool Hid = false;
    /// Every byte that came back since the last frame went out (a HID link's whole reports).
    Bytes Answer;
    /// The last open failed, or the open device failed under a read or write (it went away):
    /// `Gone`, `Busy` or `NoPermission`; `None` since the last successful open or frame.
    FailureKind PortFault = FailureKind::None;
    /// Set frames the reader acknowledged.
    int AcceptedWrites = 0;
};

/// The machine as one reader's worker sees it: its own pause, and a device list holding only
/// its reader, so that the connection and the flows work unchanged on index 0 of the reader's
/// class. Looking up an index answers from the target as found when the command started, so
/// that workers do not enumerate the machine while they run; a whole list (what finding a
/// reader by its identity reads, as the flows do before they write) looks at the machine
/// afresh and holds the reader only while it is attached, under the name it has now.
///
/// The worker's stop token closes a gate: once a stop is requested, no device is opened and
/// no frame goes out, unless the reader is in the middle of a write: from its first set frame
/// on, the conversation runs to its end, so a write is never cut between its frames.
class WorkerEnvironment final : public ReaderEnvironment, private DeviceSource {
  public:
    WorkerEnvironment(ReaderEnvironment& machine, const FleetTarget& target, Pause& pause,
                      std::stop_token stop = {}, WorkStepListener onStep = {});
    ~WorkerEnvironment() override;

    DeviceSource& Devices() override { return *this; }
    std::unique_ptr<HidDevice> CreateHidDevice() override;
    std::unique_ptr<SerialLink> CreateSerialLink() override;
    Pause& GetPause() override;

    /// True when the gate held something back: the reader was stopped before it was written.
    bool Stopped() const { return stopped_; }
    const LinkRecord& Link() const { return record_; }

    /// Called by the device ports this environment makes.
    bool MayOpen();
    bool MaySend(std::span<const std::uint8_t> frame);
    LinkRecord& Record() { return record_; }
    void Tell(WorkStep step) const;

  private:
    bool GetSerialPort(int index, SerialPortInfo& out) override;
    bool GetHidInterface(int index, HidInterfaceInfo& out) override;
    std::vector<SerialPortInfo> SerialPorts() override;
    std::vector<HidInterfaceInfo> HidInterfaces() override;
    void FollowReset();

    ReaderEnvironment& machine_;
    FleetTarget target_;
    std::stop_token stop_;
    WorkStepListener onStep_;
    bool resetWaited_ = false;  // the worker waited for its reader to reset
    bool writing_ = false;      // a set frame went out: nothing is held back any more
    bool stopped_ = false;
    LinkRecord record_;
    std::unique_ptr<Pause> stepPause_;
};

}  // namespace ravelfin
