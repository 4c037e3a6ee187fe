#include "cli/watch_command.h"

#include <QEventLoop>
#include <QObject>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>
#include <csignal>
#include <list>
#include <map>
#include <set>
#include <thread>

#include "cli/fleet_commands.h"
#include "cli/main_thread_queue.h"
#include "cli/reader_jobs.h"
#include "cli/worker_environment.h"
#include "flows/flow_messages.h"
#include "protocol/interface_type.h"
#include "transport/device_discovery.h"

namespace ravelfin::cli {

namespace {

/// Time a reader gets to settle after it arrived, before it is opened.
constexpr int kSettleMs = 500;

int stopPipe[2] = {-1, -1};

extern "C" void WriteStopByte(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(stopPipe[1], &byte, 1);
}

/// SIGINT and SIGTERM become a readable byte on a pipe, for as long as it lives.
class StopSignals {
  public:
    StopSignals() {
        if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        struct sigaction action {};
        action.sa_handler = WriteStopByte;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &oldInt_);
        ::sigaction(SIGTERM, &action, &oldTerm_);
        installed_ = true;
    }
    ~StopSignals() {
        if (!installed_)
            return;
        ::sigaction(SIGINT, &oldInt_, nullptr);
        ::sigaction(SIGTERM, &oldTerm_, nullptr);
        ::close(stopPipe[0]);
        ::close(stopPipe[1]);
        stopPipe[0] = stopPipe[1] = -1;
    }
    int Descriptor() const { return installed_ ? stopPipe[0] : -1; }

  private:
    bool installed_ = false;
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

bool IsConfigurable(int type) {
    return type == kInterfaceUsbHid || type == kInterfaceUsbHidKb || type == kInterfaceUsbRs232;
}

std::string Key(bool hid, const std::string& name) {
    return (hid ? "hid:" : "serial:") + name;
}

/// Which reader a target is, whatever node it has: a reader that restarts comes back under
/// another one, and is still the reader configured before.
std::string ReaderKey(const FleetTarget& target) {
    const ReaderIdentity identity = target.Identity();
    return identity.IsKnown() ? identity.PortPath + "\n" + identity.SerialNumber
                              : Key(target.Hid, target.Name);
}

class Watch {
  public:
    Watch(ReaderEnvironment& machine, Console& console, const FleetSetup& setup, const Bytes* file,
          int count)
        : machine_(machine), console_(console), setup_(setup), file_(file), count_(count) {}

    int Run() {
        auto monitor = machine_.CreateDeviceMonitor();
        std::string error;
        if (!monitor || !monitor->Start(
                            [this](const DeviceEvent& event) {
                                queue_.Post([this, event] { OnEvent(event); });
                            },
                            error)) {
            console_.Error("ravelfin: " +
                           (monitor ? error : "this machine cannot report readers arriving"));
            return kExitFailed;
        }
        monitor_ = monitor.get();
        NoteReadersAttached();
        StopSignals stopSignals;
        QSocketNotifier stopNotifier(stopSignals.Descriptor(), QSocketNotifier::Read);
        stopNotifier.setEnabled(stopSignals.Descriptor() >= 0);
        QObject::connect(&stopNotifier, &QSocketNotifier::activated, &context_, [&] {
            char drained[16];
            while (::read(stopSignals.Descriptor(), drained, sizeof drained) > 0) {
            }
            Stop();
        });
        loop_.exec();
        monitor->Stop();
        for (Job& job : jobs_)
            job.Thread.join();
        return kExitOk;
    }

  private:
    struct Job {
        FleetTarget Target;
        std::unique_ptr<Pause> OwnPause;
        std::thread Thread;
    };

    /// The readers attached before the watch began, so that their departure is told too.
    void NoteReadersAttached() {
        std::vector<DeviceEntry> readers;
        for (int type :
             {kInterfaceRs232, kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid}) {
            ListDevices(machine_.Devices(), type, readers);
        }
        for (const DeviceEntry& reader : readers) {
            const bool hid = reader.Type == kInterfaceUsbHidKb || reader.Type == kInterfaceUsbHid;
            FleetTarget target;
            if (FindListedTarget(machine_.Devices(), hid, reader.Name, reader.Type, target)) {
                present_[Key(hid, reader.Name)] = target;
            }
        }
    }

    void OnEvent(const DeviceEvent& event) {
        if (stopping_)
            return;
        const std::string key = Key(event.Hid, event.Name);
        if (event.What == DeviceEvent::Change::Left) {
            const auto seen = present_.find(key);
            if (seen == present_.end())
                return;
            console_.Print(seen->second.Label() + " " + event.Name + " (" +
                           seen->second.Identity().Describe() + "): left\n");
            present_.erase(seen);
            return;
        }
        if (event.Type == kInterfaceUnknown || event.Type == kInterfacePs2)
            return;
        FleetTarget target;
        if (!FindListedTarget(machine_.Devices(), event.Hid, event.Name, event.Type, target))
            return;
        present_[key] = target;
        const std::string reader = ReaderKey(target);
        const std::string line =
            target.Label() + " " + target.Name + " (" + target.Identity().Describe() + "): arrived";
        if (file_ && configured_.count(reader) > 0) {
            console_.Print(line + ", configured already\n");
            return;
        }
        console_.Print(line + "\n");
        if (!file_ || !IsConfigurable(event.Type))
            return;
        // Back while its last arrival is still being worked on (a restart it made, say): its
        // turn comes after that, if that did not configure it.
        if (!busy_.insert(reader).second) {
            again_.insert(reader);
            return;
        }
        Start(target);
    }

    void Start(const FleetTarget& target) {
        Job& job = jobs_.emplace_back();
        job.Target = target;
        job.OwnPause = setup_.Pauses();
        ++running_;
        job.Thread = std::thread([this, &job] {
            WorkerEnvironment environment(machine_, job.Target, *job.OwnPause);
            environment.GetPause().Wait(kSettleMs);
            FleetResult result = ApplyToReader(environment, job.Target, *file_);
            queue_.Post([this, &job, result] { OnResult(job, result); });
        });
    }

    void OnResult(const Job& job, const FleetResult& result) {
        --running_;
        const std::string reader = ReaderKey(job.Target);
        console_.Print(ResultLine(job.Target, result) + "\n");
        // Readers are counted once each, however often they arrive.
        if (result.Ok && configured_.insert(reader).second &&
            static_cast<int>(configured_.size()) == count_)
            Stop();
        const FleetTarget* present = nullptr;
        for (const auto& [name, target] : present_) {
            if (ReaderKey(target) == reader)
                present = &target;
        }
        if (again_.erase(reader) > 0 && !stopping_ && present && configured_.count(reader) == 0) {
            Start(*present);
        } else {
            busy_.erase(reader);
        }
        if (stopping_ && running_ == 0)
            loop_.quit();
    }

    /// No new reader is taken on; the watch ends once the readers in progress are finished.
    void Stop() {
        if (!stopping_) {
            stopping_ = true;
            monitor_->Stop();
            if (running_ > 0) {
                console_.Error("Finishing " + std::to_string(running_) +
                               " reader(s) in the middle of their configuration ...");
            }
        }
        if (running_ == 0)
            loop_.quit();
    }

    ReaderEnvironment& machine_;
    Console& console_;
    const FleetSetup& setup_;
    const Bytes* file_;
    const int count_;
    DeviceMonitor* monitor_ = nullptr;
    QObject context_;
    QEventLoop loop_;
    MainThreadQueue queue_;  // after the loop: it goes before the loop does
    std::map<std::string, FleetTarget> present_;
    std::set<std::string> busy_;        // readers being configured (`ReaderKey`)
    std::set<std::string> again_;       // arrived again meanwhile
    std::set<std::string> configured_;  // configured successfully
    std::list<Job> jobs_;               // a list: running threads keep references to their job
    int running_ = 0;
    bool stopping_ = false;
};

bool ParseCount(const std::string& text, int& count) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    count = std::stoi(text);
    return count > 0;
}

}  // namespace

int RunWatch(const CommandLine& cl, ReaderEnvironment& machine, Console& console,
             const FleetSetup& setup) {
    int count = 0;
    if (cl.count && (!cl.applyFile || !ParseCount(*cl.count, count))) {
        console.Error(cl.applyFile
                          ? "ravelfin: --count takes a number of readers such as 10"
                          : "ravelfin: --count counts configured readers; it needs --apply FILE");
        return kExitUsage;
    }
    Bytes file;
    if (cl.applyFile && !ReadConfigurationFile(*cl.applyFile, file)) {
        console.Error(kLoadFailedText);
        return kExitFailed;
    }
    Watch watch(machine, console, setup, cl.applyFile ? &file : nullptr, count);
    return watch.Run();
}

}  // namespace ravelfin::cli
