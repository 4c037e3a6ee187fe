#pragma once

#include <atomic>
#include <string>

#include "sim/frame_collector.h"
#include "sim/simulated_reader.h"

namespace ravelfin {

/// Serves one simulated reader on a terminal: a pseudo-terminal of its own, so that programs
/// (and the real serial backend's tests) can open it like a serial port, or the device side of
/// a USB serial gadget. The reader's settings stay in memory for as long as the server runs.
class TerminalReaderServer {
public:
    explicit TerminalReaderServer(SimulatedReader& reader) : reader_(reader) {}
    ~TerminalReaderServer();
    TerminalReaderServer(const TerminalReaderServer&) = delete;
    TerminalReaderServer& operator=(const TerminalReaderServer&) = delete;

    /// Creates the pseudo-terminal in raw mode. False with a one-line `error` when the
    /// system has none to give.
    bool Start(std::string& error);
    /// Serves on an existing terminal instead (such as /dev/ttyGS0), in raw mode. False with
    /// a one-line `error` when it cannot be opened.
    bool Open(const std::string& terminal, std::string& error);
    /// The path clients open, e.g. /dev/pts/4; empty before `Start`.
    const std::string& TerminalPath() const { return terminalPath_; }
    /// Answers every frame that arrives until `stop` becomes true, looking at it at least
    /// every `pollMs`. Returns false when the terminal fails or was never started, true when
    /// stopped. Safe to call on a thread of its own while another thread sets `stop`.
    bool Serve(const std::atomic<bool>& stop, int pollMs = 50);

private:
    bool WriteAll(const Bytes& bytes);

    SimulatedReader& reader_;
    int master_ = -1;
    int slave_ = -1;  // a pseudo-terminal's, kept open so that it survives clients closing it
    std::string terminalPath_;
    FrameCollector collector_;
};

}  // namespace ravelfin
