#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sim/recording_pause.h"
#include "sim/simulated_device_source.h"
#include "sim/simulated_reader.h"
#include "transport/device_monitor.h"
#include "transport/reader_environment.h"

namespace ravelfin {

/// A machine with only simulated readers attached: the far end of the tests and the demo
/// mode of both programs. HID readers appear as HID interfaces (/sim/hidraw<i>), serial
/// readers as serial ports (/sim/ttyS<i> for RS-232, /sim/ttyUSB<i> for the reader's USB
/// virtual port, with USB ids 5E1C:0D42), each at the next index of its class. Each USB
/// reader sits in a USB socket of its own ("9-1", "9-2", ... in the order added) and one that
/// keeps the default serial number gets SN00000001, SN00000002, ... in that order.
///
/// Readers can be plugged in and pulled out, by hand (`Plug`, `Unplug`) or by the clock of
/// the machine after their arrive= and leave= times (`AdvanceClock`, or a `SimulatedClock`
/// that runs it); monitors from `CreateDeviceMonitor` hear of it. Safe to use from several
/// threads, except `AddReader`, which belongs to setting the machine up.
///
/// A USB HID reader that a sent change makes reset (see `SimulatedReader::SetResetHandler`)
/// leaves when the host lets go of it and comes back as its new kind of reader, under a new
/// node at the end of the HID list, once `kResetAbsenceMs` of pauses have passed through
/// `GetPause`: the recorded pauses of a test
/// pass that time at once; an outside pause waits until the return, then the rest.
class SimulatedEnvironment final : public ReaderEnvironment {
  public:
    /// How long a reader that resets stays away, in milliseconds of pauses.
    static constexpr int kResetAbsenceMs = SimulatedReader::kRestartMs;

    /// Pauses are recorded in `RecordedPauses` and return at once.
    SimulatedEnvironment();
    /// Pauses go to `pause` (the programs' demo mode waits for real).
    explicit SimulatedEnvironment(Pause& pause);
    ~SimulatedEnvironment() override;
    SimulatedEnvironment(const SimulatedEnvironment&) = delete;
    SimulatedEnvironment& operator=(const SimulatedEnvironment&) = delete;

    /// Attaches one more reader; one with an arrive= time stays unplugged until then. False
    /// with a one-line `error` when its interface type is not 1, 3, 4 or 5 or its settings
    /// file cannot be loaded; nothing is attached then.
    bool AddReader(const SimulatedReaderOptions& options, std::string& error);
    /// The same for a reader written as `--simulate` takes it ("usb-hid,firmware=V3.90");
    /// false with the parse's or the attach's one-line `error`.
    bool AddReaderFromOptionText(const std::string& optionText, std::string& error);

    std::size_t ReaderCount() const { return readers_.size(); }
    /// The reader added `index`-th (0 based).
    SimulatedReader& Reader(std::size_t index) { return *readers_.at(index).Reader; }
    /// The path or port name of the reader added `index`-th (a new one after a reset).
    const std::string& ReaderName(std::size_t index) const { return readers_.at(index).Name; }
    /// The device list, for adding devices that are not readers.
    SimulatedDeviceSource& Source() { return source_; }
    /// The pauses asked for, when no outside pause was given.
    RecordingPause& RecordedPauses() { return ownPause_; }

    /// Plugs the reader added `index`-th in: it joins the device lists and the monitors hear
    /// of its arrival. Nothing happens while it is plugged in.
    void Plug(std::size_t index);
    /// Pulls the reader added `index`-th out: it leaves the device lists, its devices fail,
    /// and the monitors hear of its departure. Nothing happens while it is out.
    void Unplug(std::size_t index);
    /// Moves the machine's clock to `elapsedMs` after its start: the arrivals and departures
    /// due by then happen, in the order of their times, each once.
    void AdvanceClock(int elapsedMs);
    /// When the next arrival or departure is due (ms after the start); -1 when none is left.
    int NextScheduledMs() const;

    DeviceSource& Devices() override { return source_; }
    std::unique_ptr<HidDevice> CreateHidDevice() override;
    std::unique_ptr<SerialLink> CreateSerialLink() override;
    Pause& GetPause() override { return machinePause_; }
    std::unique_ptr<DeviceMonitor> CreateDeviceMonitor() override;
    void PauseTimePassed(int milliseconds) override { PassPauseTime(milliseconds); }

    /// Used by the monitors: while subscribed, `listener` hears of every plug and unplug.
    void Subscribe(const void* owner, DeviceMonitor::Listener listener);
    void Unsubscribe(const void* owner);
    /// True while any monitor listens.
    bool IsMonitored() const;

  private:
    /// The pause handed out by `GetPause`: it lets the time of readers that reset pass.
    class MachinePause final : public Pause {
      public:
        explicit MachinePause(SimulatedEnvironment& machine) : machine_(machine) {}
        void Wait(int milliseconds) override { machine_.PauseFor(milliseconds, false); }
        void WaitForRestart(int milliseconds) override { machine_.PauseFor(milliseconds, true); }

      private:
        SimulatedEnvironment& machine_;
    };

    struct Attached {
        std::unique_ptr<SimulatedReader> Reader;
        std::string Name;
        bool Hid = false;
        bool Arrived = false;       // the scheduled arrival happened
        bool Left = false;          // the scheduled departure happened
        long long ReturnAtMs = -1;  // back from a reset at this much pause time; -1: not away
    };
    struct Subscriber {
        const void* Owner;
        DeviceMonitor::Listener Listener;
    };

    void Announce(std::size_t index, DeviceEvent::Change change);
    /// A reader began its reset: it leaves and is due back after kResetAbsenceMs.
    void BeginReset(std::size_t index);
    /// Waits through the program's pause; a wait for a restart stays one to that pause.
    void PauseFor(int milliseconds, bool restart);
    /// Pause time until the next reader is due back from a reset; -1 when none is away.
    long long UntilNextReturn() const;
    /// `milliseconds` of pauses passed: readers due back from a reset return.
    void PassPauseTime(int milliseconds);

    RecordingPause ownPause_;
    Pause& pause_;
    MachinePause machinePause_{*this};
    long long pausedMs_ = 0;  // pause time passed, under changeMutex_
    SimulatedDeviceSource source_;
    std::vector<Attached> readers_;
    // Held while a change is announced, so that a monitor stopping on another thread waits
    // for the listener call in progress; recursive, since a listener may stop its monitor.
    mutable std::recursive_mutex changeMutex_;
    std::vector<Subscriber> subscribers_;
    int clockMs_ = -1;
};

}  // namespace ravelfin
