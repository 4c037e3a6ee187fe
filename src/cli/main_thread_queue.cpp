#include "cli/main_thread_queue.h"

#include <fcntl.h>
#include <unistd.h>

namespace ravelfin::cli {

MainThreadQueue::MainThreadQueue() {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { RunPosted(); });
}

MainThreadQueue::~MainThreadQueue() {
    notifier_.reset();
    for (int fd : pipe_) {
        if (fd >= 0)
            ::close(fd);
    }
}

void MainThreadQueue::Post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(pipe_[1], &byte, 1);
}

void MainThreadQueue::RunPosted() {
    char drained[64];
    while (::read(pipe_[0], drained, sizeof drained) > 0) {
    }
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty())
                return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

}  // namespace ravelfin::cli
