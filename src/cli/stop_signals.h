#pragma once

#include <csignal>
#include <functional>
#include <thread>

namespace ravelfin::cli {

/// While it lives, SIGINT and SIGTERM do not end the process: each calls `onStop`, on a thread
/// of its own (never in the signal handler), so that the command can stop cleanly. The
/// handlers in place before come back when it ends. One at a time.
class StopSignals {
  public:
    explicit StopSignals(std::function<void()> onStop);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    void Listen();

    std::function<void()> onStop_;
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
    bool installed_ = false;
    std::jthread listener_;
};

}  // namespace ravelfin::cli
