#include "sim/feature_report_server.h"

#include <algorithm>

#include "protocol/command_frame.h"

namespace ravelfin {

bool FeatureReportServer::Set(std::span<const std::uint8_t> payload) {
    if (!reader_.IsPlugged() || reader_.ConsumeSetReportFailure())
        return false;
    collector_.Add(payload);
    Bytes frame;
    while (collector_.Take(frame)) {
        answer_ = reader_.Answer(frame);
        pollsBeforeAnswer_ = reader_.AnswerDelayPolls();
    }
    return true;
}

bool FeatureReportServer::Get(std::span<std::uint8_t> payload) {
    // A frame still incomplete when the host asks for the answer will never be finished.
    collector_.Reset();
    std::fill(payload.begin(), payload.end(), 0);
    if (payload.empty())
        return false;
    if (pollsBeforeAnswer_ > 0) {
        --pollsBeforeAnswer_;
        payload[0] = kNak;
        return true;
    }
    if (!answer_.empty()) {
        const std::size_t count = std::min(payload.size(), answer_.size());
        std::copy_n(answer_.begin(), count, payload.begin());
        answer_.erase(answer_.begin(), answer_.begin() + static_cast<std::ptrdiff_t>(count));
        return true;
    }
    if (!reader_.IsPlugged())
        return false;
    payload[0] = kNak;
    return true;
}

void FeatureReportServer::Reset() {
    collector_.Reset();
    answer_.clear();
    pollsBeforeAnswer_ = 0;
}

}  // namespace ravelfin
