#include "transport/report_descriptor.h"

#include <gtest/gtest.h>

#include <vector>

namespace ravelfin {
namespace {

TEST(ReportDescriptor, FeatureLengthIsTheLongestFeatureReportPlusItsIdByte) {
    // clang-format off
    const struct {
        bool parses;
        std::size_t length;
        bool ids;
        std::vector<std::uint8_t> descriptor;
    } cases[] = {
        // A vendor collection with two-byte data: only the Feature item counts.
        {true, 33, false, {0x06, 0xA0, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x40,
                           0x81, 0x02, 0x95, 0x20, 0xB1, 0x02, 0xC0}},
        // Numbered reports: the longest, its bits added over several items.
        {true, 12, true, {0x85, 0x01, 0x75, 0x08, 0x95, 0x08, 0xB1, 0x02, 0x85, 0x02,
                          0x75, 0x01, 0x95, 0x03, 0xB1, 0x02, 0x75, 0x05, 0x95, 0x01,
                          0xB1, 0x03, 0x75, 0x08, 0x95, 0x0A, 0xB1, 0x02}},
        // Odd bit counts round up; four-byte and two-byte data are little-endian.
        {true, 3, false, {0x75, 0x01, 0x97, 9, 0, 0, 0, 0xB1, 0x02}},
        {true, 257, false, {0x75, 0x08, 0x96, 0x00, 0x01, 0xB1, 0x02}},
        {true, 0, false, {0x75, 0x08, 0x95, 0x10, 0x81, 0x02}},
        // Pop restores report 0 and its 4 bytes.
        {true, 61, true, {0x75, 0x08, 0x95, 0x04, 0xA4, 0x95, 0x3C, 0x85, 0x07, 0xB1, 0x02,
                          0xB4, 0xB1, 0x02, 0xB1, 0x02}},
        {false, 0, false, {0x75, 0x08, 0x95, 0x40, 0xB4, 0xB1, 0x02}},  // pop without push
        {false, 0, false, std::vector<std::uint8_t>(17, 0xA4)},         // pushed too deep
        // Long items are skipped; truncated items end the parse.
        {true, 3, false, {0xFE, 0x02, 0x10, 0xB1, 0x02, 0x75, 0x08, 0x95, 0x02, 0xB1, 0x02}},
        {false, 3, false, {0x75, 0x08, 0x95, 0x02, 0xB1, 0x02, 0x96, 0x01}},
        {false, 3, false, {0x75, 0x08, 0x95, 0x02, 0xB1, 0x02, 0xFE, 0x05, 0x01}},
    };
    // clang-format on
    ReportDescriptor parsed;  // one parser for all: each parse starts afresh
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(parsed.Parse(cases[i].descriptor), cases[i].parses);
        EXPECT_EQ(parsed.FeatureReportLength(), cases[i].length);
        if (cases[i].parses) {
            EXPECT_EQ(parsed.UsesReportIds(), cases[i].ids);
        }
    }
}

}  // namespace
}  // namespace ravelfin
