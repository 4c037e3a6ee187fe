#include "app/device_change_relay.h"

#include <QMetaObject>
#include <QtGlobal>
#include <chrono>
#include <string>

namespace ravelfin {

DeviceChangeRelay::DeviceChangeRelay(ReaderEnvironment& machine, QObject* parent)
    : QObject(parent),
      clock_([] {
          using namespace std::chrono;
          return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
      }),
      monitor_(machine.CreateDeviceMonitor()) {
    if (!monitor_)
        return;
    // The monitor may call from a thread of its own: the event is stamped there and handed
    // to this object's thread.
    const auto relay = [this](const DeviceEvent&) {
        const qint64 at = clock_();
        QMetaObject::invokeMethod(
            this, [this, at] { emit Changed(at); }, Qt::QueuedConnection);
    };
    std::string error;
    if (!monitor_->Start(relay, error)) {
        qWarning("ravelfin-config: readers plugged in or out will not be noticed: %s",
                 error.c_str());
        monitor_.reset();
    }
}

DeviceChangeRelay::~DeviceChangeRelay() {
    if (monitor_)
        monitor_->Stop();
}

}  // namespace ravelfin
