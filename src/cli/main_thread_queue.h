#pragma once

#include <QSocketNotifier>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace ravelfin::cli {

/// Work handed from other threads (workers, device monitors) to the thread that made the
/// queue, run there by its event loop one task at a time. Handing over goes through a mutex
/// and a pipe, not through Qt's cross-thread calls, so that the hand-over is plain to see for
/// a thread checker.
class MainThreadQueue {
  public:
    MainThreadQueue();
    ~MainThreadQueue();
    MainThreadQueue(const MainThreadQueue&) = delete;
    MainThreadQueue& operator=(const MainThreadQueue&) = delete;

    /// Safe from any thread.
    void Post(std::function<void()> task);

  private:
    void RunPosted();

    std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace ravelfin::cli
