#include "flows/quick_clone.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "flows/flow_fakes.h"

namespace ravelfin::testing {
namespace {

using ::testing::ElementsAre;

/// Hands out prepared readers in order, then none.
struct CloneRig : Rig {
    ScriptedTransport& Add(int type = kInterfaceUsbHid) {
        return *next.emplace_back(std::make_unique<ScriptedTransport>(rec, type));
    }
    bool ReadSource() {
        Add().Answers = {{true, SettingsAnswer({0x10, 1, '3', 0xAE, 1, 5})}};
        return clone.ReadSource(kInterfaceUsbHid, "/dev/source");
    }
    std::deque<std::unique_ptr<ScriptedTransport>> next;
    QuickClone clone{[this](int) {
                         std::unique_ptr<ReaderTransport> transport;
                         if (!next.empty()) {
                             transport = std::move(next.front());
                             next.pop_front();
                         }
                         return transport;
                     },
                     *this};
};

/// The FuncIDs of a set frame's items, in order.
std::vector<int> FuncIds(const Bytes& frame) {
    std::vector<int> ids;
    for (std::size_t at = 2; at + 1 < frame.size() - 2; at += 2 + frame[at + 1])
        ids.push_back(frame[at]);
    return ids;
}

TEST(QuickClone, WritesTheSourcesGeneralSettingsEncodedForTheTarget) {
    CloneRig rig;
    ASSERT_TRUE(rig.ReadSource());
    rig.Add(kInterfaceUsbHidKb).Version = "V4.30";
    EXPECT_EQ(rig.clone.CloneTo(kInterfaceUsbHidKb, "/dev/target"), kWriteOk);
    // Reading the target's version closes it; the write opens it again.
    EXPECT_THAT(rig.rec.trace, ElementsAre("open /dev/source", "send 1F", kSourceReadText, "close",
                                           "open /dev/target", "open /dev/target", "send 10",
                                           kClonedText, "close"));
    // The source's terminal type and beep mode, the latter only known to a 4.30 target.
    EXPECT_THAT(std::vector(rig.rec.frames[1].begin() + 4, rig.rec.frames[1].begin() + 8),
                ElementsAre('3', 0xAE, 1, 5));
    // A copy never touches how the target protects card numbers, though 4.30 knows the items.
    const std::vector<int> written = FuncIds(rig.rec.frames[1]);
    ASSERT_GT(written.size(), 20u);
    for (int security : {0x49, 0x4A, 0x4B, 0x4C, 0x7E})
        EXPECT_THAT(written, ::testing::Not(::testing::Contains(security)));
}

}  // namespace
}  // namespace ravelfin::testing
