#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "flows/flow_context.h"
#include "flows/flow_messages.h"
#include "protocol/reader_settings.h"
#include "protocol/test_records.h"
#include "support/scripted_transport.h"

namespace ravelfin::testing {

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

    ExchangeLog rec;
    std::vector<std::string> messages;
    ScriptedTransport reader;
};

/// The reader's answer to the read-all command: ACK, STX, the items, ETX, LRC.
inline Bytes SettingsAnswer(const Bytes& items) {
    Bytes answer = items;
    answer.insert(answer.begin(), {kAck, kStx});
    answer.push_back(kEtx);
    return WithLrc(answer, 1);
}

}  // namespace ravelfin::testing
