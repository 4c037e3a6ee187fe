#include "transport/report_descriptor.h"

#include <algorithm>
#include <vector>

namespace ravelfin {

namespace {

constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::size_t kMaxPushDepth = 16;

// Item types and tags of the short items that matter.
constexpr unsigned kTypeMain = 0;
constexpr unsigned kTypeGlobal = 1;
constexpr unsigned kTagFeature = 0xB;
constexpr unsigned kTagReportSize = 0x7;
constexpr unsigned kTagReportId = 0x8;
constexpr unsigned kTagReportCount = 0x9;
constexpr unsigned kTagPush = 0xA;
constexpr unsigned kTagPop = 0xB;

struct GlobalState {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

}  // namespace

bool ReportDescriptor::Parse(std::span<const std::uint8_t> descriptor) {
    featureBits_.clear();
    usesReportIds_ = false;
    GlobalState state;
    std::vector<GlobalState> stack;
    std::size_t p = 0;
    while (p < descriptor.size()) {
        const std::uint8_t prefix = descriptor[p];
        if (prefix == kLongItemPrefix) {
            if (p + 3 > descriptor.size()) return false;
            const std::size_t size = descriptor[p + 1];
            if (p + 3 + size > descriptor.size()) return false;
            p += 3 + size;
            continue;
        }
        static constexpr std::size_t kDataSizes[] = {0, 1, 2, 4};
        const std::size_t size = kDataSizes[prefix & 0x3];
        const unsigned type = (prefix >> 2) & 0x3;
        const unsigned tag = prefix >> 4;
        if (p + 1 + size > descriptor.size()) return false;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            value |= static_cast<std::uint32_t>(descriptor[p + 1 + i]) << (8 * i);
        }
        p += 1 + size;

        if (type == kTypeMain && tag == kTagFeature) {
            featureBits_[state.reportId] +=
                static_cast<std::uint64_t>(state.reportSize) * state.reportCount;
        } else if (type == kTypeGlobal) {
            switch (tag) {
                case kTagReportSize: state.reportSize = value; break;
                case kTagReportCount: state.reportCount = value; break;
                case kTagReportId:
                    state.reportId = value;
                    usesReportIds_ = true;
                    break;
                case kTagPush:
                    if (stack.size() == kMaxPushDepth) return false;
                    stack.push_back(state);
                    break;
                case kTagPop:
                    if (stack.empty()) return false;
                    state = stack.back();
                    stack.pop_back();
                    break;
                default: break;
            }
        }
    }
    return true;
}

std::size_t ReportDescriptor::FeatureReportLength() const {
    std::uint64_t longest = 0;
    for (const auto& [id, bits] : featureBits_)
        longest = std::max(longest, bits);
    if (longest == 0) return 0;
    return static_cast<std::size_t>((longest + 7) / 8 + 1);
}

}  // namespace ravelfin
