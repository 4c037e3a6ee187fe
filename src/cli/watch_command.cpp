#include "cli/watch_command.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QMetaObject>
#include <QObject>

#include <list>
#include <map>
#include <set>

#include "cli/fleet_output.h"
#include "cli/stop_signals.h"
#include "fleet/reader_jobs.h"
#include "flows/flow_messages.h"
#include "protocol/interface_type.h"
#include "protocol/settings_file.h"

namespace ravelfin::cli {

namespace {

/// Time a reader gets to settle after it arrived, before it is opened.
constexpr int kSettleMs = 500;

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
    Watch(ReaderEnvironment& machine, const CommandLine& cl, Console& console,
          const CommandSetup& setup, const Bytes* file, int count)
        : machine_(machine),
          cl_(cl),
          console_(console),
          setup_(setup),
          file_(file),
          count_(count) {}

    int Run() {
        auto monitor = machine_.CreateDeviceMonitor();
        std::string error;
        if (!monitor ||
            !monitor->Start(
                [this](const DeviceEvent& event) { Post([this, event] { OnEvent(event); }); },
                error)) {
            console_.Error("ravelfin: " +
                           (monitor ? error : "this machine cannot report readers arriving"));
            return kExitFailed;
        }
        monitor_ = monitor.get();
        NoteReadersAttached();
        const StopSignals stopSignals([this] { Post([this] { Stop(); }); });
        loop_.exec();
        monitor->Stop();
        workers_.clear();
        return allConfigured_ ? kExitOk : kExitFailed;
    }

  private:
    /// Runs `task` on this thread's event loop, from any thread.
    void Post(std::function<void()> task) {
        QMetaObject::invokeMethod(&context_, std::move(task), Qt::QueuedConnection);
    }

    /// The readers attached before the watch began, so that their departure is told too.
    void NoteReadersAttached() {
        DeviceSnapshot devices(machine_.Devices());
        for (const DeviceEntry& reader : AttachedReaders(devices)) {
            const bool hid = reader.Type == kInterfaceUsbHidKb || reader.Type == kInterfaceUsbHid;
            FleetTarget target;
            if (FindListedTarget(devices, hid, reader.Name, reader.Type, target))
                present_[Key(hid, reader.Name)] = target;
        }
    }

    void Tell(const FleetTarget& target, const std::string& event) {
        if (cl_.quiet)
            return;
        if (!cl_.json) {
            console_.Print(target.Label() + " " + target.Name + " (" +
                           target.Identity().Describe() + "): " + event + "\n");
            return;
        }
        const QJsonObject all = ResultJson(target, {});
        QJsonObject o{{"event", QString::fromStdString(event)}};
        for (const char* key : {"device", "name", "port", "serial"})
            o[key] = all[key];
        console_.PrintUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString() + "\n");
    }

    void OnEvent(const DeviceEvent& event) {
        if (stopping_)
            return;
        const std::string key = Key(event.Hid, event.Name);
        if (event.What == DeviceEvent::Change::Left) {
            const auto seen = present_.find(key);
            if (seen == present_.end())
                return;
            Tell(seen->second, "left");
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
        if (file_ && configured_.count(reader) > 0) {
            Tell(target, "arrived, configured already");
            return;
        }
        Tell(target, "arrived");
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
        auto& worker = workers_.emplace_back();
        const auto place = std::prev(workers_.end());
        const Bytes& file = *file_;
        worker = std::make_unique<ReaderWorker>(
            machine_, target,
            [&file](WorkerEnvironment& environment, const FleetTarget& reader) {
                environment.GetPause().Wait(kSettleMs);
                return ApplyToReader(environment, reader, file, false);
            },
            setup_.Pauses(), WorkStepListener{},
            [this, place](const ReaderResult& result) {
                Post([this, place, result] { OnResult(place, result); });
            });
    }

    using Workers = std::list<std::unique_ptr<ReaderWorker>>;

    void OnResult(Workers::iterator place, const ReaderResult& result) {
        const FleetTarget target = (*place)->Target();
        // The worker told its result as its last act: it ends now and is joined.
        workers_.erase(place);
        const std::string reader = ReaderKey(target);
        allConfigured_ = allConfigured_ && result.Ok();
        if (cl_.json) {
            QJsonObject o = ResultJson(target, result);
            o["event"] = "result";
            console_.PrintUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString() +
                               "\n");
        } else if (!cl_.quiet) {
            console_.Print(ResultLine(target, result) + "\n");
        } else if (!result.Ok()) {
            console_.Error(ResultLine(target, result));
        }
        // Readers are counted once each, however often they arrive.
        if (result.Ok() && configured_.insert(reader).second &&
            static_cast<int>(configured_.size()) == count_)
            Stop();
        const FleetTarget* present = nullptr;
        for (const auto& [name, listed] : present_) {
            if (ReaderKey(listed) == reader)
                present = &listed;
        }
        if (again_.erase(reader) > 0 && !stopping_ && present && configured_.count(reader) == 0) {
            Start(*present);
        } else {
            busy_.erase(reader);
        }
        if (stopping_ && workers_.empty())
            loop_.quit();
    }

    /// No new reader is taken on; readers in the middle of a write finish it, the others stop,
    /// and the watch ends once every worker has told its result.
    void Stop() {
        if (!stopping_) {
            stopping_ = true;
            monitor_->Stop();
            if (!workers_.empty()) {
                console_.Error("Stopping: " + std::to_string(workers_.size()) +
                               " reader(s) at work; those in the middle of a write finish it ...");
            }
            for (const auto& worker : workers_)
                worker->RequestStop();
        }
        if (workers_.empty())
            loop_.quit();
    }

    ReaderEnvironment& machine_;
    const CommandLine& cl_;
    Console& console_;
    const CommandSetup& setup_;
    const Bytes* file_;
    const int count_;
    DeviceMonitor* monitor_ = nullptr;
    QObject context_;
    QEventLoop loop_;
    std::map<std::string, FleetTarget> present_;
    std::set<std::string> busy_;        // readers being configured (`ReaderKey`)
    std::set<std::string> again_;       // arrived again meanwhile
    std::set<std::string> configured_;  // configured successfully
    bool allConfigured_ = true;
    bool stopping_ = false;
    Workers workers_;  // last: a worker ending posts to what is above
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
             const CommandSetup& setup) {
    int count = 0;
    if (cl.count && (!cl.applyFile || !ParseCount(*cl.count, count))) {
        console.Error(cl.applyFile
                          ? "ravelfin: --count takes a number of readers such as 10"
                          : "ravelfin: --count counts configured readers; it needs --apply FILE");
        return kExitUsage;
    }
    Bytes file;
    if (cl.applyFile && !ReadSettingsFile(*cl.applyFile, file)) {
        console.Error(std::string(kLoadFailedText) + " (" + *cl.applyFile + ")");
        return kExitFailed;
    }
    Watch watch(machine, cl, console, setup, cl.applyFile ? &file : nullptr, count);
    return watch.Run();
}

}  // namespace ravelfin::cli
