#pragma once

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/device_option.h"
#include "connection/connection.h"
#include "flows/flow_context.h"
#include "transport/device_discovery.h"

namespace ravelfin::cli {

/// Why opening `what` failed, in one line with what to do about it: the udev rule for a
/// missing permission, closing the other program for a busy device.
std::string OpenFailureText(PortError error, const std::string& what);
/// Why `link` to `what` is not usable: it could not be opened, or the reader did not answer.
std::string ConnectFailureText(const Connection& link, const std::string& what);
/// What `list` shows for a plain RS-232 port it did not ask for its firmware.
inline constexpr const char* kNotProbedText = "RS-232 port (not probed)";
/// Said when a reader that restarted to take a change could not be opened again.
inline constexpr const char* kReopenFailedText =
    "Warning: fail to re-open the device. Plug it in again and run 'ravelfin report'.";

/// One command's conversation with readers: the device list (with any device named on the
/// command line), the connection and where messages go.
class ReaderSession {
  public:
    ReaderSession(ReaderEnvironment& machine, Console& console)
        : console_(console),
          environment_(machine),
          messenger_(console),
          connection_(environment_, messenger_) {}

    /// Connects to the reader of --device, or to the only USB reader attached. On failure
    /// says why on standard error and returns false.
    bool ConnectReader(const CommandLine& cl);
    /// Context for a flow on the connected reader.
    FlowContext Context() { return connection_.Flow(messenger_); }
    /// After a flow reset the reader: reopens it and says how that went.
    bool ReopenAfterReset();
    /// Prints which reader the command works on: "Reader TYPE:INDEX NAME (port P, serial S)".
    void TellReader();

    Connection& Link() { return connection_; }
    NamedDeviceEnvironment& Environment() { return environment_; }
    Messenger& Messages() { return messenger_; }
    Console& Out() { return console_; }

    /// Every attached reader of the types `ravelfin list` shows, in type order.
    std::vector<DeviceEntry> AttachedReaders();

  private:
    Console& console_;
    NamedDeviceEnvironment environment_;
    ConsoleMessenger messenger_;
    Connection connection_;
};

}  // namespace ravelfin::cli
