#pragma once

#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "sim/simulated_environment.h"

namespace ravelfin::testing {

/// Runs `action` on the next modal window once it shows (the test's way of answering a
/// dialog that runs its own event loop). The action must close the window. Returns the poll,
/// for the caller to stop when no window is expected any more.
QPointer<QTimer> OnNextModal(std::function<void(QWidget*)> action);

/// Stops a poll of OnNextModal that found no window.
void StopPoll(QPointer<QTimer> poll);

/// Fires a timer's timeout at once, as if its time had passed.
void FireTimer(QTimer& timer);

/// A simulated reader description as `--simulate` takes it, e.g. "usb-hid,firmware=V4.30".
SimulatedReaderOptions Reader(const std::string& spec);

/// Attaches readers to `environment`; fails the test when one cannot be attached.
void Attach(SimulatedEnvironment& environment, const std::vector<std::string>& specs);

/// Writes `text` into `path`; false when it cannot.
bool WriteFile(const QString& path, const QByteArray& text);

}  // namespace ravelfin::testing
