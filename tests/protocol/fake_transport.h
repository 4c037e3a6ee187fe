#pragma once

#include <algorithm>
#include <deque>
#include <vector>

#include "protocol/interface_type.h"
#include "transport/reader_transport.h"

namespace ravelfin {

/// A transport that records every frame sent and answers from a script.
class FakeTransport final : public ReaderTransport {
public:
    struct Answer {
        bool result = false;
        std::vector<std::uint8_t> bytes;
    };

    /// Queues the answer to the next exchange; an exchange without one fails with no bytes.
    void Script(bool result, std::vector<std::uint8_t> bytes = {}) {
        answers.push_back({result, std::move(bytes)});
    }

    bool GetFirmwareVersion(std::string& out) override {
        if (versionText.empty()) return false;
        out = versionText;
        return true;
    }
    bool OpenByIndex(int) override { return true; }
    bool Open(const std::string&) override { return true; }
    bool Close() override { return true; }
    bool Exchange(std::span<const std::uint8_t> send, std::span<std::uint8_t> recv,
                  std::size_t& recvLen) override {
        sent.emplace_back(send.begin(), send.end());
        capacities.push_back(recv.size());
        Answer answer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        recvLen = std::min(answer.bytes.size(), recv.size());
        std::copy_n(answer.bytes.begin(), recvLen, recv.begin());
        return answer.result;
    }
    int GetInterfaceType() const override { return kInterfaceUsbHid; }
    bool IsReady() const override { return ready; }
    std::string GetDeviceName() const override { return "fake"; }

    bool ready = true;
    std::string versionText;
    std::deque<Answer> answers;
    std::vector<std::vector<std::uint8_t>> sent;
    std::vector<std::size_t> capacities;  // answer capacity of each exchange
};

}  // namespace ravelfin
