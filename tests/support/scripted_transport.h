#pragma once

// A reader that answers from a script, for tests and fuzz targets (no test framework here).

#include <algorithm>
#include <climits>
#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "protocol/bytes.h"
#include "protocol/command_frame.h"
#include "protocol/interface_type.h"
#include "transport/reader_transport.h"

namespace ravelfin::testing {

/// What scripted readers were asked, in order: opens ("open" and the device), frames ("send"
/// and the FuncID), closes; the frames themselves and the answer capacity each was given.
/// Tests may put their own events (messages, pauses) into the same trace.
struct ExchangeLog {
    std::vector<std::string> trace;
    std::vector<Bytes> frames;
    std::vector<std::size_t> capacities;
};

/// Gives the n-th exchange the n-th answer of `Answers`; once they run out, `Otherwise` if set,
/// else an acknowledged set frame and an unanswered read. An exchange succeeds only on an open
/// device. Past the answer the buffer holds refusal bytes, to catch a caller that reads what
/// never came.
class ScriptedTransport final : public ReaderTransport {
  public:
    struct Answer {
        bool ok;
        Bytes data;
    };
    explicit ScriptedTransport(ExchangeLog& log, int type = kInterfaceUsbHid)
        : log_(log), type_(type) {}

    bool OpenByIndex(int index) override { return Opened("open " + std::to_string(index)); }
    bool Open(const std::string& name) override { return Opened("open " + name); }
    bool Close() override {
        open_ = false;
        log_.trace.push_back("close");
        return true;
    }
    bool Exchange(std::span<const std::uint8_t> send, std::span<std::uint8_t> recv,
                  std::size_t& recvLen) override {
        log_.frames.emplace_back(send.begin(), send.end());
        log_.capacities.push_back(recv.size());
        char label[16];
        std::snprintf(label, sizeof label, "send %02X", send.size() > 2 ? send[2] : 0);
        log_.trace.push_back(label);
        const bool set = send.size() > 1 && send[1] == kSetLetter;
        Answer answer = Otherwise.value_or(Answer{set, set ? Bytes{kAck} : Bytes{}});
        if (!Answers.empty()) {
            answer = Answers.front();
            Answers.pop_front();
        }
        recvLen = std::min(answer.data.size(), recv.size());
        std::copy_n(answer.data.begin(), recvLen, recv.begin());
        std::fill(recv.begin() + static_cast<std::ptrdiff_t>(recvLen), recv.end(), kRefused);
        return open_ && answer.ok;
    }
    bool GetFirmwareVersion(std::string& out) override { return !(out = Version).empty(); }
    int GetInterfaceType() const override { return type_; }
    bool IsReady() const override { return open_; }
    std::string GetDeviceName() const override { return ""; }

    std::deque<Answer> Answers;
    std::optional<Answer> Otherwise;
    int OpensLeft = INT_MAX;           // opens that succeed before every further one fails
    bool FailedOpenStaysOpen = false;  // a failed open leaves the device half open
    std::string Version;

  private:
    bool Opened(std::string event) {
        log_.trace.push_back(std::move(event));
        const bool opened = OpensLeft > 0 && OpensLeft--;
        open_ = opened || FailedOpenStaysOpen;
        return opened;
    }
    ExchangeLog& log_;
    int type_;
    bool open_ = false;
};

}  // namespace ravelfin::testing
