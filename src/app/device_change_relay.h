#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

#include "transport/device_monitor.h"
#include "transport/reader_environment.h"

namespace ravelfin {

/// Brings the machine's news of readers arriving and leaving to the user-interface thread:
/// it runs the environment's device monitor and emits `Changed` there, once per device
/// event, stamped with the moment the monitor told of it.
class DeviceChangeRelay final : public QObject {
    Q_OBJECT
  public:
    /// Milliseconds on a clock that only moves forward; safe to call from any thread.
    using Clock = std::function<std::int64_t()>;

    /// Starts the monitor of `machine`, if it has one; without one nothing is ever emitted.
    DeviceChangeRelay(ReaderEnvironment& machine, QObject* parent);
    ~DeviceChangeRelay() override;

    /// Replaces the steady clock that stamps the events.
    void SetClock(Clock clock) { clock_ = std::move(clock); }

  signals:
    void Changed(qint64 timestampMs);

  private:
    Clock clock_;
    std::unique_ptr<DeviceMonitor> monitor_;
};

}  // namespace ravelfin
