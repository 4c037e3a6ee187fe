#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/diff_command.h"
#include "cli/fleet_commands.h"
#include "cli/set_command.h"
#include "cli/watch_command.h"
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
/// wait goes to the meeting, when there is one.
class WorkerPause final : public Pause {
  public:
    explicit WorkerPause(Meeting* meeting) : meeting_(meeting) {}
    void Wait(int milliseconds) override {
        if (meeting_ && Waits.empty())
            MetOthers = meeting_->Arrive();
        Waits.push_back(milliseconds);
    }
    std::vector<int> Waits;
    bool MetOthers = false;

  private:
    Meeting* meeting_;
};

/// Hands the waits on to a pause that outlives the command.
class ForwardingPause final : public Pause {
  public:
    explicit ForwardingPause(Pause& target) : target_(target) {}
    void Wait(int milliseconds) override { target_.Wait(milliseconds); }

  private:
    Pause& target_;
};

/// Simulated readers, and the commands run on them in this process as `ravelfin` would.
class FleetRig : public ::testing::Test {
  protected:
    SimulatedReader& Attach(const std::string& optionText) {
        std::string error;
        EXPECT_TRUE(env.AddReaderFromOptionText(optionText, error)) << error;
        return env.Reader(env.ReaderCount() - 1);
    }

    FleetSetup WorkerSetup() {
        return FleetSetup{[this]() -> std::unique_ptr<Pause> {
                              pauses.push_back(std::make_unique<WorkerPause>(meeting.get()));
                              return std::make_unique<ForwardingPause>(*pauses.back());
                          },
                          progress};
    }

    int Run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        pauses.clear();
        CommandLine cl;
        std::string error;
        if (!ParseCommandLine(args, cl, error)) {
            err << error;
            return kExitUsage;
        }
        Console console(out, err);
        if (cl.command == "set")
            return RunSet(cl, console);
        if (cl.command == "diff")
            return RunDiff(cl, env, console);
        if (cl.command == "watch")
            return RunWatch(cl, env, console, WorkerSetup());
        EXPECT_TRUE(IsFleetCommand(cl));
        return RunFleetCommand(cl, env, console, WorkerSetup());
    }

    /// The result lines and the summary, one string each.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream text(out.str());
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }

    SimulatedEnvironment env;
    std::ostringstream out;
    std::ostringstream err;
    std::unique_ptr<Meeting> meeting;
    std::vector<std::unique_ptr<WorkerPause>> pauses;  // one per worker, in the order made
    bool progress = false;
    TempDir dir;
};

}  // namespace ravelfin::cli
