#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "protocol/temp_dir.h"
#include "sim/simulated_environment.h"

namespace ravelfin::cli {

/// Where the workers' first pauses meet: each waits there until all have come, so workers run
/// one after the other never get past it (they give up after a few seconds).
struct Meeting {
    explicit Meeting(int expected) : expected(expected) {}
    /// True when every worker arrived while the others were still waiting.
    bool Arrive() {
        std::unique_lock lock(mutex);
        ++arrived;
        met.notify_all();
        return met.wait_for(lock, std::chrono::seconds(5), [&] { return arrived >= expected; });
    }
    std::mutex mutex;
    std::condition_variable met;
    int arrived = 0;
    const int expected;
};

/// A worker's fake pause: returns at once and records what it was asked to wait; the first
/// wait goes to the meeting, when there is one, and every wait to `onWait`, when there is one.
class WorkerPause final : public Pause {
  public:
    WorkerPause(Meeting* meeting, std::function<void(int)> onWait)
        : meeting_(meeting), onWait_(std::move(onWait)) {}
    void Wait(int milliseconds) override {
        if (meeting_ && Waits.empty())
            MetOthers = meeting_->Arrive();
        Waits.push_back(milliseconds);
        if (onWait_)
            onWait_(milliseconds);
    }
    std::vector<int> Waits;
    bool MetOthers = false;

  private:
    Meeting* meeting_;
    std::function<void(int)> onWait_;
};

/// Hands the waits on to a pause that outlives the command.
class ForwardingPause final : public Pause {
  public:
    explicit ForwardingPause(Pause& target) : target_(target) {}
    void Wait(int milliseconds) override { target_.Wait(milliseconds); }

  private:
    Pause& target_;
};

/// Simulated readers, and command lines run on them in this process through the dispatch
/// `ravelfin` itself runs.
class CliRig : public ::testing::Test {
  protected:
    SimulatedReader& Attach(const std::string& optionText) {
        std::string error;
        EXPECT_TRUE(env.AddReaderFromOptionText(optionText, error)) << error;
        return env.Reader(env.ReaderCount() - 1);
    }

    CommandSetup MakeSetup() {
        CommandSetup setup;
        setup.Pauses = [this]() -> std::unique_ptr<Pause> {
            pauses.push_back(std::make_unique<WorkerPause>(meeting.get(), onWait));
            return std::make_unique<ForwardingPause>(*pauses.back());
        };
        setup.Rows = rows;
        setup.Columns = columns;
        return setup;
    }

    int Run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        pauses.clear();
        CommandLine cl;
        std::string error;
        if (!ParseCommandLine(args, cl, error)) {
            err << error << '\n';
            return kExitUsage;
        }
        Console console(out, err);
        return RunCommand(cl, env, console, MakeSetup());
    }

    /// Standard output, one string a line.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream text(out.str());
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }

    /// How often the workers of the last command waited `ms`.
    int Waited(int ms) const {
        int n = 0;
        for (const auto& pause : pauses)
            n += static_cast<int>(std::count(pause->Waits.begin(), pause->Waits.end(), ms));
        return n;
    }

    /// Lets the machine's clock run with the workers' pauses, so that readers with arrive= and
    /// leave= times come and go in the middle of a command.
    void ClockFollowsPauses() {
        onWait = [this](int ms) { env.AdvanceClock(elapsedMs += ms); };
    }

    SimulatedEnvironment env;
    std::ostringstream out;
    std::ostringstream err;
    std::unique_ptr<Meeting> meeting;
    std::function<void(int)> onWait;
    std::atomic<int> elapsedMs{0};
    std::vector<std::unique_ptr<WorkerPause>> pauses;  // one per worker, in the order made
    int rows = 0;                                      // no terminal: no progress lines
    int columns = 80;
    TempDir dir;
};

}  // namespace ravelfin::cli
