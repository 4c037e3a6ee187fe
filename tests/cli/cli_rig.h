#pragma once

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

#include "cli/commands.h"
#include "cli/program.h"
#include "protocol/temp_dir.h"
#include "sim/simulated_environment.h"
#include "support/reader_writes.h"

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
    using OnWait = std::function<void(const WorkerPause&, int)>;
    WorkerPause(std::size_t index, Meeting* meeting, OnWait onWait)
        : Index(index), meeting_(meeting), onWait_(std::move(onWait)) {}
    void Wait(int milliseconds) override {
        if (meeting_ && Waits.empty())
            MetOthers = meeting_->Arrive();
        Waits.push_back(milliseconds);
        if (onWait_)
            onWait_(*this, milliseconds);
    }
    const std::size_t Index;  // the order the workers were made in
    std::vector<int> Waits;
    bool MetOthers = false;

  private:
    Meeting* meeting_;
    OnWait onWait_;
};

/// Whether `reader` took a frame that sets settings, from its `from`th frame on.
inline bool SentSettings(const SimulatedReader& reader, std::size_t from = 0) {
    return Writes(reader, from) > 0;
}

/// Hands the waits on to a pause that outlives the command.
class ForwardingPause final : public Pause {
  public:
    explicit ForwardingPause(Pause& target) : target_(target) {}
    void Wait(int milliseconds) override { target_.Wait(milliseconds); }

  private:
    Pause& target_;
};

/// Standard output or error: tells `onPrint` all that was printed so far after each print.
class PrintedText final : public std::stringbuf {
  public:
    std::function<void(const std::string&)> onPrint;

  private:
    int sync() override {
        if (onPrint)
            onPrint(str());
        return 0;
    }
};

/// Simulated readers, and command lines run on them in this process as `ravelfin` runs them;
/// each --simulate READER adds a reader.
class CliRig : public ::testing::Test {
  protected:
    SimulatedReader& Attach(const std::string& optionText) {
        std::string error;
        EXPECT_TRUE(env.AddReaderFromOptionText(optionText, error)) << error;
        return env.Reader(env.ReaderCount() - 1);
    }

    int Run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        pauses.clear();
        CommandSetup setup;
        setup.Pauses = [this]() -> std::unique_ptr<Pause> {
            pauses.push_back(std::make_unique<WorkerPause>(pauses.size(), meeting.get(), onWait));
            return std::make_unique<ForwardingPause>(*pauses.back());
        };
        setup.Rows = rows;
        setup.Columns = columns;
        Console console(outStream, errStream);
        return RunProgram(args, console, setup, [&](const CommandLine& cl) {
            return AddSimulatedReaders(cl, env, console) ? &env : nullptr;
        });
    }

    /// Standard output, one string a line.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream text(out.str());
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }

    bool Printed(const std::string& text) const {
        return out.str().find(text) != std::string::npos;
    }

    /// The JSON printed: an array of results.
    QJsonArray Json() const {
        return QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).array();
    }
    /// Member `key` of the `i`th result printed, as text.
    std::string Member(int i, const char* key) const {
        return Json()[i].toObject()[key].toString().toStdString();
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
        onWait = [this](const WorkerPause&, int ms) { env.AdvanceClock(elapsedMs += ms); };
    }

    SimulatedEnvironment env;
    PrintedText out;
    std::ostream outStream{&out};
    PrintedText err;
    std::ostream errStream{&err};
    std::unique_ptr<Meeting> meeting;
    WorkerPause::OnWait onWait;
    std::atomic<int> elapsedMs{0};
    std::vector<std::unique_ptr<WorkerPause>> pauses;  // one per worker, in the order made
    int rows = 0;                                      // no terminal: no progress lines
    int columns = 80;
    TempDir dir;
};

}  // namespace ravelfin::cli
