#include "sim/simulated_environment.h"

#include <algorithm>

#include "sim/simulated_device_monitor.h"
#include "sim/simulated_hid_device.h"
#include "sim/simulated_serial_link.h"
#include "transport/device_discovery.h"

namespace ravelfin {

SimulatedEnvironment::SimulatedEnvironment() : pause_(ownPause_) {}

SimulatedEnvironment::SimulatedEnvironment(Pause& pause) : pause_(pause) {}

SimulatedEnvironment::~SimulatedEnvironment() = default;

bool SimulatedEnvironment::AddReaderFromOptionText(const std::string& optionText,
                                                   std::string& error) {
    SimulatedReaderOptions options;
    return ParseSimulatedReaderOptions(optionText, options, error) && AddReader(options, error);
}

bool SimulatedEnvironment::AddReader(const SimulatedReaderOptions& options, std::string& error) {
    const std::uint32_t type = options.InterfaceType;
    if (type != kInterfaceRs232 && type != kInterfaceUsbRs232 && type != kInterfaceUsbHidKb &&
        type != kInterfaceUsbHid) {
        error = "a simulated reader must be attached as rs232, usb-rs232, usb-hid-kb or usb-hid";
        return false;
    }
    // Each reader is a device of its own, in a socket of its own: one that keeps the default
    // serial number gets the next one, so that no two readers of a machine share it.
    SimulatedReaderOptions own = options;
    const std::string ordinal = std::to_string(readers_.size() + 1);
    if (own.SerialNumber == SimulatedReaderOptions{}.SerialNumber)
        own.SerialNumber = NumberedSerialNumber(readers_.size() + 1);
    const std::string usbPort = "9-" + ordinal;
    auto reader = std::make_unique<SimulatedReader>(own);
    if (!options.LoadFile.empty() && !reader->LoadSettings(options.LoadFile)) {
        error = "cannot load the simulated reader's settings from '" + options.LoadFile +
                "' (not a readable cfs2 configuration file)";
        return false;
    }
    if (options.ArriveAfterMs >= 0)
        reader->Unplug();
    Attached attached;
    attached.Hid = type == kInterfaceUsbHid || type == kInterfaceUsbHidKb;
    if (attached.Hid) {
        attached.Name = "/sim/hidraw" + std::to_string(source_.HidInterfaceCount());
        source_.AddHidInterface(
            {attached.Name, kReaderVendorId, reader->ProductId(), usbPort, own.SerialNumber},
            reader.get(), options.FeatureReportLength);
    } else if (type == kInterfaceUsbRs232) {
        attached.Name = "/sim/ttyUSB" + std::to_string(source_.SerialPortCount());
        source_.AddSerialPort(
            {attached.Name, true, kUsbSerialVendorId, kUsbSerialProductId,
             "/sim/serial/by-id/usb-Orvane_Ravelfin_" + own.SerialNumber + "-if00-port0", usbPort,
             own.SerialNumber},
            reader.get());
    } else {
        attached.Name = "/sim/ttyS" + std::to_string(source_.SerialPortCount());
        source_.AddSerialPort({attached.Name, false, 0, 0, {}, {}, {}}, reader.get());
    }
    const std::size_t index = readers_.size();
    reader->SetResetHandler([this, index] { BeginReset(index); });
    attached.Reader = std::move(reader);
    readers_.push_back(std::move(attached));
    return true;
}

std::unique_ptr<HidDevice> SimulatedEnvironment::CreateHidDevice() {
    return std::make_unique<SimulatedHidDevice>(source_);
}

std::unique_ptr<SerialLink> SimulatedEnvironment::CreateSerialLink() {
    return std::make_unique<SimulatedSerialLink>(source_);
}

std::unique_ptr<DeviceMonitor> SimulatedEnvironment::CreateDeviceMonitor() {
    return std::make_unique<SimulatedDeviceMonitor>(*this);
}

void SimulatedEnvironment::Subscribe(const void* owner, DeviceMonitor::Listener listener) {
    std::lock_guard lock(changeMutex_);
    subscribers_.push_back({owner, std::move(listener)});
}

void SimulatedEnvironment::Unsubscribe(const void* owner) {
    std::lock_guard lock(changeMutex_);
    std::erase_if(subscribers_, [&](const Subscriber& s) { return s.Owner == owner; });
}

bool SimulatedEnvironment::IsMonitored() const {
    std::lock_guard lock(changeMutex_);
    return !subscribers_.empty();
}

void SimulatedEnvironment::Announce(std::size_t index, DeviceEvent::Change change) {
    const Attached& attached = readers_.at(index);
    const DeviceEvent event{change, attached.Hid, attached.Name,
                            static_cast<int>(attached.Reader->InterfaceType())};
    // A copy: a listener may stop its own monitor while it is being called.
    const std::vector<Subscriber> subscribers = subscribers_;
    for (const Subscriber& s : subscribers) {
        const bool stillSubscribed =
            std::any_of(subscribers_.begin(), subscribers_.end(),
                        [&](const Subscriber& now) { return now.Owner == s.Owner; });
        if (stillSubscribed)
            s.Listener(event);
    }
}

void SimulatedEnvironment::Plug(std::size_t index) {
    std::lock_guard lock(changeMutex_);
    SimulatedReader& reader = Reader(index);
    if (reader.IsPlugged())
        return;
    reader.Replug();
    Announce(index, DeviceEvent::Change::Arrived);
}

void SimulatedEnvironment::Unplug(std::size_t index) {
    std::lock_guard lock(changeMutex_);
    SimulatedReader& reader = Reader(index);
    if (!reader.IsPlugged())
        return;
    reader.Unplug();
    Announce(index, DeviceEvent::Change::Left);
}

void SimulatedEnvironment::AdvanceClock(int elapsedMs) {
    std::lock_guard lock(changeMutex_);
    clockMs_ = std::max(clockMs_, elapsedMs);
    for (;;) {
        const int due = NextScheduledMs();
        if (due < 0 || due > clockMs_)
            return;
        // Arrivals before departures at the same time, readers in the order they were added.
        for (std::size_t i = 0; i < readers_.size(); ++i) {
            Attached& a = readers_[i];
            if (!a.Arrived && a.Reader->Options().ArriveAfterMs == due) {
                a.Arrived = true;
                Plug(i);
            }
        }
        for (std::size_t i = 0; i < readers_.size(); ++i) {
            Attached& a = readers_[i];
            if (!a.Left && a.Reader->Options().LeaveAfterMs == due) {
                a.Left = true;
                Unplug(i);
            }
        }
    }
}

int SimulatedEnvironment::NextScheduledMs() const {
    std::lock_guard lock(changeMutex_);
    int next = -1;
    auto consider = [&](int ms) {
        if (ms >= 0 && (next < 0 || ms < next))
            next = ms;
    };
    for (const Attached& a : readers_) {
        if (!a.Arrived)
            consider(a.Reader->Options().ArriveAfterMs);
        if (!a.Left)
            consider(a.Reader->Options().LeaveAfterMs);
    }
    return next;
}

}  // namespace ravelfin

namespace ravelfin {

void SimulatedEnvironment::BeginReset(std::size_t index) {
    std::lock_guard lock(changeMutex_);
    readers_.at(index).ReturnAtMs = pausedMs_ + kResetAbsenceMs;
    Unplug(index);
}

void SimulatedEnvironment::PauseFor(int milliseconds, bool restart) {
    const auto wait = [this, restart](Pause& pause, int ms) {
        if (restart)
            pause.WaitForRestart(ms);
        else
            pause.Wait(ms);
        PassPauseTime(ms);
    };
    if (&pause_ == &ownPause_) {
        wait(ownPause_, milliseconds);
        return;
    }
    // Waiting for real: a reader due back during the wait returns on time.
    long long left = std::max(milliseconds, 0);
    for (long long next = UntilNextReturn(); next >= 0 && next <= left; next = UntilNextReturn()) {
        wait(pause_, static_cast<int>(next));
        left -= next;
    }
    wait(pause_, static_cast<int>(left));
}

long long SimulatedEnvironment::UntilNextReturn() const {
    std::lock_guard lock(changeMutex_);
    long long next = -1;
    for (const Attached& a : readers_) {
        if (a.ReturnAtMs >= 0 && (next < 0 || a.ReturnAtMs - pausedMs_ < next))
            next = std::max(a.ReturnAtMs - pausedMs_, 0LL);
    }
    return next;
}

void SimulatedEnvironment::PassPauseTime(int milliseconds) {
    std::lock_guard lock(changeMutex_);
    pausedMs_ += std::max(milliseconds, 0);
    for (std::size_t i = 0; i < readers_.size(); ++i) {
        Attached& a = readers_[i];
        if (a.ReturnAtMs < 0 || a.ReturnAtMs > pausedMs_)
            continue;
        a.ReturnAtMs = -1;
        a.Reader->FinishReset();
        if (a.Hid) {
            const std::string newName = "/sim/hidraw" + std::to_string(source_.HidInterfaceCount());
            source_.MoveHidInterface(a.Name, newName, a.Reader->ProductId());
            a.Name = newName;
        }
        Plug(i);
    }
}

}  // namespace ravelfin
