#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "sim/recording_pause.h"
#include "sim/simulated_device_source.h"
#include "sim/simulated_reader.h"
#include "transport/reader_environment.h"

namespace ravelfin {

/// A machine with only simulated readers attached: the far end of the tests and the demo
/// mode of both programs. HID readers appear as HID interfaces (/sim/hidraw<i>), serial
/// readers as serial ports (/sim/ttyS<i> for RS-232, /sim/ttyUSB<i> for the reader's USB
/// virtual port, with USB ids 5E1C:0D42), each at the next index of its class.
class SimulatedEnvironment final : public ReaderEnvironment {
public:
    /// Pauses are recorded in `RecordedPauses` and return at once.
    SimulatedEnvironment();
    /// Pauses go to `pause` (the programs' demo mode waits for real).
    explicit SimulatedEnvironment(Pause& pause);
    SimulatedEnvironment(const SimulatedEnvironment&) = delete;
    SimulatedEnvironment& operator=(const SimulatedEnvironment&) = delete;

    /// Attaches one more reader. False with a one-line `error` when its interface type is
    /// not 1, 3, 4 or 5 or its settings file cannot be loaded; nothing is attached then.
    bool AddReader(const SimulatedReaderOptions& options, std::string& error);

    std::size_t ReaderCount() const { return readers_.size(); }
    /// The reader added `index`-th (0 based).
    SimulatedReader& Reader(std::size_t index) { return *readers_.at(index); }
    /// The device list, for adding devices that are not readers.
    SimulatedDeviceSource& Source() { return source_; }
    /// The pauses asked for, when no outside pause was given.
    RecordingPause& RecordedPauses() { return ownPause_; }

    DeviceSource& Devices() override { return source_; }
    std::unique_ptr<HidDevice> CreateHidDevice() override;
    std::unique_ptr<SerialLink> CreateSerialLink() override;
    Pause& GetPause() override { return pause_; }

private:
    RecordingPause ownPause_;
    Pause& pause_;
    SimulatedDeviceSource source_;
    std::vector<std::unique_ptr<SimulatedReader>> readers_;
};

}  // namespace ravelfin
