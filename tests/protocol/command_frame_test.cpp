#include "protocol/command_frame.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace ravelfin {
namespace {

std::vector<std::uint8_t> Build(std::uint8_t funcId, std::vector<std::uint8_t> data,
                                std::size_t capacity, bool& ok) {
    std::vector<std::uint8_t> frame(capacity, 0xEE);
    std::size_t length = 99;
    ok = BuildCommandFrame(funcId, data, frame, length);
    frame.resize(ok ? length : 0);
    if (!ok) {
        EXPECT_EQ(length, 0u);
    }
    return frame;
}

TEST(CommandFrame, ShortFramesIgnoreTheirDataAndUseTheirDirectionLetter) {
    bool ok = false;
    EXPECT_EQ(Build(0x18, {0x41, 0x42}, 16, ok), (std::vector<std::uint8_t>{2, 0x53, 0x18, 3, 0x4A}));
    EXPECT_EQ(Build(0x1F, {}, 16, ok), (std::vector<std::uint8_t>{2, 0x52, 0x1F, 3, 0x4C}));
    EXPECT_EQ(Build(0x22, {}, 16, ok), (std::vector<std::uint8_t>{2, 0x52, 0x22, 3, 0x71}));
    EXPECT_EQ(Build(0x70, {0xFF}, 16, ok),
              (std::vector<std::uint8_t>{2, 0x53, 0x70, 1, 0xFF, 3, 0xDC}));
}

TEST(CommandFrame, SettingFramesCarryLengthAndData) {
    bool ok = false;
    EXPECT_EQ(Build(0x10, {0x30}, 16, ok),
              (std::vector<std::uint8_t>{2, 0x53, 0x10, 1, 0x30, 3, 0x73}));
    auto empty = Build(0x40, {}, 16, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(empty.size(), 6u);
    EXPECT_EQ(empty[3], 0);
}

TEST(CommandFrame, CapacityIsExactlyDataPlusSix) {
    std::vector<std::uint8_t> data(255, 0x41);
    bool ok = false;
    auto frame = Build(0x34, data, 261, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(frame.size(), 261u);
    Build(0x34, data, 260, ok);
    EXPECT_FALSE(ok);
    Build(0x1F, {1}, 6, ok);  // short frames are tested against the same rule
    EXPECT_FALSE(ok);
    Build(0x34, std::vector<std::uint8_t>(256, 1), 1024, ok);
    EXPECT_FALSE(ok);
    // Nothing past the capacity is touched.
    std::array<std::uint8_t, 8> guard{};
    guard.fill(0xEE);
    std::size_t length = 0;
    EXPECT_FALSE(BuildCommandFrame(0x34, data, std::span(guard).first(4), length));
    EXPECT_EQ(guard[4], 0xEE);
}

TEST(CommandFrame, LrcOfAFrameWithItsLastByteIsZero) {
    bool ok = false;
    for (std::uint8_t id : {0x10, 0x18, 0x1F, 0x22, 0x7E}) {
        auto frame = Build(id, {0x12, 0x34, 0x56}, 64, ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(ComputeLrc(frame), 0);
    }
    EXPECT_EQ(ComputeLrc({}), 0);
}

}  // namespace
}  // namespace ravelfin
