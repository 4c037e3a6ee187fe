#pragma once

#include <algorithm>
#include <climits>
#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "flows/flow_context.h"
#include "flows/flow_messages.h"
#include "protocol/command_frame.h"
#include "protocol/interface_type.h"
#include "protocol/reader_settings.h"

namespace ravelfin::testing {

/// What the flows did, in order: opens ("open" and the device), frames ("send" and the
/// FuncID), closes, waits, messages (their text), page refreshes; and the frames sent.
struct Recorder {
    std::vector<std::string> trace;
    std::vector<Bytes> frames;
};

/// A reader that answers from a script, one answer per exchange; with none left a set frame
/// is acknowledged and anything else goes unanswered.
class FakeTransport final : public ReaderTransport {
  public:
    struct Answer {
        bool ok;
        Bytes data;
    };
    FakeTransport(Recorder& recorder, int type) : rec_(recorder), type_(type) {}

    bool OpenByIndex(int index) override { return Opened("open " + std::to_string(index)); }
    bool Open(const std::string& name) override { return Opened("open " + name); }
    bool Close() override {
        open_ = false;
        rec_.trace.push_back("close");
        return true;
    }
    bool Exchange(std::span<const std::uint8_t> send, std::span<std::uint8_t> recv,
                  std::size_t& recvLen) override {
        rec_.frames.emplace_back(send.begin(), send.end());
        char label[16];
        std::snprintf(label, sizeof label, "send %02X", send[2]);
        rec_.trace.push_back(label);
        const bool set = send[1] == kSetLetter;
        Answer answer{set, set ? Bytes{kAck} : Bytes{}};
        if (!Answers.empty()) {
            answer = Answers.front();
            Answers.pop_front();
        }
        recvLen = std::min(answer.data.size(), recv.size());
        std::copy_n(answer.data.begin(), recvLen, recv.begin());
        // Past the answer lies a refusal byte, to catch any flow that reads what never came.
        std::fill(recv.begin() + recvLen, recv.end(), kRefused);
        return open_ && answer.ok;
    }
    bool GetFirmwareVersion(std::string& out) override { return !(out = Version).empty(); }
    int GetInterfaceType() const override { return type_; }
    bool IsReady() const override { return open_; }
    std::string GetDeviceName() const override { return ""; }

    std::deque<Answer> Answers;
    int OpensLeft = INT_MAX;  // opens that succeed before every further one fails
    bool FailedOpenStaysOpen = false;  // a failed open leaves the device half open
    std::string Version;

  private:
    bool Opened(std::string event) {
        rec_.trace.push_back(std::move(event));
        const bool opened = OpensLeft > 0 && OpensLeft--;
        open_ = opened || FailedOpenStaysOpen;
        return opened;
    }
    Recorder& rec_;
    int type_;
    bool open_ = false;
};

/// A reader with the messages and pauses of the flows run on it, all in one trace.
struct Rig : Messenger, Pause {
    explicit Rig(int type = kInterfaceUsbHid) : reader(rec, type) {}
    void ShowMessage(const std::string& text) override {
        rec.trace.push_back(text);
        messages.push_back(text);
    }
    void ShowNotice(const std::string& text) override { rec.trace.push_back("note " + text); }
    void Wait(int ms) override { rec.trace.push_back("wait " + std::to_string(ms)); }
    FlowContext Context(DeviceAddress device = 0) { return {&reader, device, *this, *this}; }
    std::function<void()> Refresh() {
        return [this] { rec.trace.push_back("refresh"); };
    }
    int Count(const std::string& event) const { return std::ranges::count(rec.trace, event); }

    Recorder rec;
    std::vector<std::string> messages;
    FakeTransport reader;
};

/// The reader's answer to the read-all command: ACK, STX, the items, ETX, LRC.
inline Bytes SettingsAnswer(Bytes items) {
    // Reserved first: GCC 12 warns on a range inserted into a vector of a size it knows
    // (-Warray-bounds, a false positive of its reallocating path).
    Bytes answer;
    answer.reserve(items.size() + 4);
    answer.push_back(kAck);
    answer.push_back(kStx);
    answer.insert(answer.end(), items.begin(), items.end());
    answer.push_back(kEtx);
    answer.push_back(ComputeLrc(std::span(answer).subspan(1)));
    return answer;
}

}  // namespace ravelfin::testing
