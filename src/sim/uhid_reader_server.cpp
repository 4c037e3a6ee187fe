#include "sim/uhid_reader_server.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "protocol/interface_type.h"

namespace ravelfin {

namespace {

/// Answers are due within the kernel's wait; a device waiting for its node is looked for
/// this often.
constexpr int kNodeLookMs = 20;
constexpr int kStopLookMs = 50;

std::string OpenFailure(const std::string& uhid, int error) {
    if (error == ENOENT || error == ENODEV || error == ENXIO)
        return uhid + " is missing: load the kernel's uhid module (modprobe uhid)";
    if (error == EACCES || error == EPERM)
        return "no permission to open " + uhid + ": run simulate --uhid as root";
    return "cannot open " + uhid + ": " + std::strerror(error);
}

}  // namespace

std::string FindHidrawNode(const std::string& phys) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/hidraw", error)) {
        std::ifstream uevent(entry.path() / "device" / "uevent");
        std::string line;
        while (std::getline(uevent, line)) {
            if (line == "HID_PHYS=" + phys)
                return "/dev/" + entry.path().filename().string();
        }
    }
    return "";
}

UhidReaderServer::UhidReaderServer(std::chrono::milliseconds restartTime)
    : restartTime_(restartTime) {}

UhidReaderServer::~UhidReaderServer() = default;

bool UhidReaderServer::Add(const std::string& optionText, std::string& error) {
    SimulatedReaderOptions options;
    if (!ParseSimulatedReaderOptions(optionText, options, error))
        return false;
    if (options.InterfaceType != kInterfaceUsbHid && options.InterfaceType != kInterfaceUsbHidKb) {
        error = "--uhid makes USB HID readers only: usb-hid or usb-hid-kb";
        return false;
    }
    if (options.ArriveAfterMs >= 0 || options.LeaveAfterMs >= 0) {
        error = "--uhid takes no arrive= or leave=: start and stop the simulate command instead";
        return false;
    }
    if (options.Fault == SimulatedFault::PortBusy) {
        error = "--uhid cannot show fault=busy: a hidraw device has no exclusive open";
        return false;
    }
    if (options.SerialNumber == SimulatedReaderOptions{}.SerialNumber)
        options.SerialNumber = NumberedSerialNumber(served_.size() + 1);
    auto reader = std::make_unique<SimulatedReader>(options);
    if (!options.LoadFile.empty() && !reader->LoadSettings(options.LoadFile)) {
        error = "cannot load the simulated reader's settings from '" + options.LoadFile +
                "' (not a readable cfs2 configuration file)";
        return false;
    }
    served_.push_back({std::move(reader), nullptr});
    return true;
}

bool UhidReaderServer::Start(std::string& error, const std::string& uhid) {
    for (std::size_t i = 0; i < served_.size(); ++i) {
        Served& served = served_[i];
        const int channel = ::open(uhid.c_str(), O_RDWR | O_CLOEXEC);
        if (channel < 0) {
            error = OpenFailure(uhid, errno);
            served_.clear();
            return false;
        }
        const std::string phys =
            "ravelfin-uhid-" + std::to_string(::getpid()) + "/" + std::to_string(i);
        served.Device = std::make_unique<UhidReader>(*served.Reader, channel, phys, restartTime_);
        if (!served.Device->Create(error)) {
            served_.clear();
            return false;
        }
    }
    return true;
}

bool UhidReaderServer::Serve(const std::atomic<bool>& stop,
                             const std::function<void(const std::string&)>& appeared) {
    // Each reader on a thread of its own, as each real reader has a controller of its own:
    // while one device's feature request waits for its answer, the kernel holds a lock over
    // every hidraw node that making or destroying a node waits for, so one thread making or
    // destroying a device would starve the requests of the others until the kernel gave up.
    // The first nodes are told in the order the readers were given, so that a caller knows
    // which is which; a reader whose turn has not come looks again shortly.
    std::mutex telling;
    std::size_t toldFirst = 0;  // readers whose first node was told
    std::atomic<bool> failed = false;
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < served_.size(); ++i) {
            threads.emplace_back([&, i] {
                bool toldOnce = false;
                const auto tell = [&](const std::string& node) {
                    const std::lock_guard lock(telling);
                    if (!toldOnce && toldFirst != i)
                        return false;
                    toldFirst += toldOnce ? 0 : 1;
                    toldOnce = true;
                    appeared(node);
                    return true;
                };
                if (!ServeOne(served_[i], stop, failed, tell))
                    failed = true;
            });
        }
    }
    return !failed.load();
}

bool UhidReaderServer::ServeOne(Served& served, const std::atomic<bool>& stop,
                                const std::atomic<bool>& failed,
                                const std::function<bool(const std::string&)>& tell) {
    pollfd channel{served.Device->Channel(), POLLIN, 0};
    while (!stop.load() && !failed.load()) {
        const auto now = UhidReader::Clock::now();
        long long wait = kStopLookMs;
        std::string error;
        if (served.Device->ReturnIfDue(now, error)) {
            served.NodeTold = false;
        } else if (!error.empty()) {
            return false;
        }
        if (served.Device->IsPresent() && !served.NodeTold) {
            const std::string node = FindHidrawNode(served.Device->Phys());
            served.NodeTold = !node.empty() && tell(node);
            if (!served.NodeTold)
                wait = std::min<long long>(wait, kNodeLookMs);
        }
        const long long back = served.Device->MsUntilReturn(now);
        if (back >= 0)
            wait = std::min(wait, back);
        const int ready = ::poll(&channel, 1, static_cast<int>(wait));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || (channel.revents & (POLLERR | POLLNVAL)))
            return false;
        if ((channel.revents & POLLIN) && !served.Device->HandleEvent())
            return false;
    }
    return true;
}

}  // namespace ravelfin
