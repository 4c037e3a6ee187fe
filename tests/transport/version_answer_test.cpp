#include "transport/version_answer.h"

#include <gtest/gtest.h>

#include "protocol/bytes.h"

namespace ravelfin {
namespace {

std::string Text(const Bytes& answer) {
    return VersionTextFromAnswer(answer);
}

TEST(VersionAnswer, TextLiesBetweenTheFirstStxAndAnEtxBeforeTheLrc) {
    EXPECT_EQ(Text({0x06, 0x02, 'V', '4', '.', '3', '0', 0x03, 0x4E}), "V4.30");
    EXPECT_EQ(Text({0x02, 'V', '4', '.', '3', 0x03, 0x11}), "V4.3");
    // HID answers carry report padding after the LRC.
    EXPECT_EQ(Text({0x06, 0x02, 'V', '1', 0x03, 0x55, 0, 0, 0, 0}), "V1");
    EXPECT_EQ(Text({0x06, 0x02, 0x03, 0x01, 0, 0}), "");

    // Cut short: the text runs into padding, into the LRC position, or to the end.
    EXPECT_EQ(Text({0x06, 0x02, 'V', '4', 0, 0, 0, 0}), "");
    EXPECT_EQ(Text({0x06, 0x02, 'V', '4', '.', '3', 0x03}), "");
    EXPECT_EQ(Text({0x06, 0x02, 'V', '4', '.', '3'}), "");
    // No STX, an STX too late to hold text, or too few bytes at all.
    EXPECT_EQ(Text({0x15, 0, 0, 0, 0, 0, 0, 0}), "");
    EXPECT_EQ(Text({0x06, 'V', '4', '.', 0x03, 0x02}), "");
    EXPECT_EQ(Text({0x06, 'V', '4', 0x03, 0x02, 0x03}), "");
    EXPECT_EQ(Text({0x02, 'V', 0x03, 0x57}), "");
}

}  // namespace
}  // namespace ravelfin
