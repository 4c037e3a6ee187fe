#pragma once

#include <functional>
#include <memory>

#include "cli/fleet_target.h"
#include "transport/reader_environment.h"

namespace ravelfin::cli {

/// What a reader's worker is doing, for the progress lines.
enum class WorkStep { Opening, Reading, Writing, WaitingForReset };

/// "opening", "reading", "writing", "waiting for the reset".
const char* WorkStepText(WorkStep step);

using WorkStepListener = std::function<void(WorkStep)>;

/// The machine as one reader's worker sees it: its own pause, and a device list holding only
/// its reader, at index 0 of the reader's class, so that the connection and the flows work
/// unchanged and nothing enumerates the machine while other workers run (but to find the
/// reader again after it reset). Opening the device
/// and the frames going out tell `onStep` what the worker is doing.
class WorkerEnvironment final : public ReaderEnvironment, private DeviceSource {
  public:
    WorkerEnvironment(ReaderEnvironment& machine, const FleetTarget& target, Pause& pause,
                      WorkStepListener onStep = {});
    ~WorkerEnvironment() override;

    DeviceSource& Devices() override { return *this; }
    std::unique_ptr<HidDevice> CreateHidDevice() override;
    std::unique_ptr<SerialLink> CreateSerialLink() override;
    Pause& GetPause() override;

  private:
    bool GetSerialPort(int index, SerialPortInfo& out) override;
    bool GetHidInterface(int index, HidInterfaceInfo& out) override;
    void FollowReset();

    ReaderEnvironment& machine_;
    FleetTarget target_;
    WorkStepListener onStep_;
    bool resetWaited_ = false;  // the worker waited for its reader to reset
    std::unique_ptr<Pause> stepPause_;
};

}  // namespace ravelfin::cli
