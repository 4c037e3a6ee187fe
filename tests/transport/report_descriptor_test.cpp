#include "transport/report_descriptor.h"

#include <gtest/gtest.h>

#include <vector>

namespace ravelfin {
namespace {

using Descriptor = std::vector<std::uint8_t>;

std::size_t FeatureLength(const Descriptor& descriptor, bool expectParsed = true) {
    ReportDescriptor parsed;
    EXPECT_EQ(parsed.Parse(descriptor), expectParsed);
    return parsed.FeatureReportLength();
}

TEST(ReportDescriptor, FeatureLengthCountsTheReportIdByteWithOrWithoutIds) {
    // A vendor page with one 32-byte feature report and an input report beside it.
    const Descriptor vendor = {
        0x06, 0xA0, 0xFF,  // Usage Page (vendor, two data bytes)
        0x09, 0x01,        // Usage
        0xA1, 0x01,        // Collection
        0x75, 0x08,        // Report Size 8
        0x95, 0x40,        // Report Count 64
        0x81, 0x02,        // Input: not a feature
        0x95, 0x20,        // Report Count 32
        0xB1, 0x02,        // Feature
        0xC0,              // End Collection
    };
    ReportDescriptor parsed;
    ASSERT_TRUE(parsed.Parse(vendor));
    EXPECT_EQ(parsed.FeatureReportLength(), 33u);
    EXPECT_FALSE(parsed.UsesReportIds());

    // Numbered reports: the longest of them, whose bits add up over several items.
    const Descriptor numbered = {
        0x85, 0x01, 0x75, 0x08, 0x95, 0x08, 0xB1, 0x02,  // id 1: 8 bytes
        0x85, 0x02, 0x75, 0x01, 0x95, 0x03, 0xB1, 0x02,  // id 2: 3 bits ...
        0x75, 0x05, 0x95, 0x01, 0xB1, 0x03,              // ... + 5 bits padding
        0x75, 0x08, 0x95, 0x0A, 0xB1, 0x02,              // ... + 10 bytes
    };
    ASSERT_TRUE(parsed.Parse(numbered));
    EXPECT_EQ(parsed.FeatureReportLength(), 12u);
    EXPECT_TRUE(parsed.UsesReportIds());

    // Odd bit counts round up to whole bytes; four-byte data is read little-endian.
    EXPECT_EQ(FeatureLength({0x75, 0x01, 0x97, 0x09, 0x00, 0x00, 0x00, 0xB1, 0x02}), 3u);
    EXPECT_EQ(FeatureLength({0x75, 0x08, 0x96, 0x00, 0x01, 0xB1, 0x02}), 257u);
    EXPECT_EQ(FeatureLength({0x75, 0x08, 0x95, 0x10, 0x81, 0x02}), 0u);
    EXPECT_EQ(FeatureLength({}), 0u);
}

TEST(ReportDescriptor, PushAndPopRestoreTheGlobalState) {
    const Descriptor descriptor = {
        0x75, 0x08, 0x95, 0x04,  // 4 bytes
        0xA4,                    // Push
        0x95, 0x3C, 0x85, 0x07,  // 60 bytes in report 7
        0xB1, 0x02,
        0xB4,                    // Pop: back to report 0 and 4 bytes
        0xB1, 0x02, 0xB1, 0x02,  // report 0: 8 bytes
    };
    EXPECT_EQ(FeatureLength(descriptor), 61u);
    EXPECT_EQ(FeatureLength({0x75, 0x08, 0x95, 0x40, 0xB4, 0xB1, 0x02}, false), 0u);
    Descriptor deep(17, 0xA4);
    EXPECT_EQ(FeatureLength(deep, false), 0u);
}

TEST(ReportDescriptor, LongItemsAreSkippedAndTruncatedItemsRejected) {
    EXPECT_EQ(FeatureLength({0xFE, 0x02, 0x10, 0xB1, 0x02, 0x75, 0x08, 0x95, 0x02, 0xB1, 0x02}),
              3u);
    EXPECT_EQ(FeatureLength({0x75, 0x08, 0x95, 0x02, 0xB1, 0x02, 0x96, 0x01}, false), 3u);
    EXPECT_EQ(FeatureLength({0x75, 0x08, 0x95, 0x02, 0xB1, 0x02, 0xFE, 0x05, 0x01}, false), 3u);
}

}  // namespace
}  // namespace ravelfin
