#include "protocol/firmware_version.h"

#include <gtest/gtest.h>

#include "fake_transport.h"

namespace ravelfin {
namespace {

TEST(FirmwareVersion, ParsesTheFirstCompleteNumber) {
    EXPECT_EQ(ParseVersionNumber("V4.30"), 4.3);
    EXPECT_EQ(ParseVersionNumber("FW 1.2.3"), 1.2);
    EXPECT_EQ(ParseVersionNumber("A12B3.45"), 3.45);
    EXPECT_EQ(ParseVersionNumber("Reader 10.05b"), 10.05);
    EXPECT_EQ(ParseVersionNumber("1.x 2.5"), 2.5);
    EXPECT_EQ(ParseVersionNumber("ends in 4."), 0.0);
    EXPECT_EQ(ParseVersionNumber("no number"), 0.0);
    EXPECT_EQ(ParseVersionNumber(""), 0.0);
    EXPECT_EQ(ParseVersionNumber(std::string("4\0.31", 5)), 0.0);  // the text ends at NUL
}

struct Classified {
    bool ok;
    double version;
    std::uint32_t modelClass;
};

Classified Classify(const std::string& text, std::uint32_t productId = 0) {
    FakeTransport t;
    t.versionText = text;
    t.ProductId = productId;
    t.ModelClass = 77;
    t.FirmwareVersionNumber = 7.7;
    ReaderSettings r;
    r.ModelClass = 77;
    r.FirmwareVersionNumber = 7.7;
    const bool ok = ClassifyModel(r, t);
    EXPECT_EQ(r.ModelClass, t.ModelClass);
    EXPECT_EQ(r.FirmwareVersionNumber, t.FirmwareVersionNumber);
    return {ok, r.FirmwareVersionNumber, r.ModelClass};
}

TEST(FirmwareVersion, ClassifiesTheModel) {
    auto c = Classify("V4.27 luma");  // found at index 6 after upper-casing
    EXPECT_TRUE(c.ok);
    EXPECT_EQ(c.version, 4.27);
    EXPECT_EQ(c.modelClass, 10000u);
    EXPECT_EQ(Classify("LUMA 4.27").modelClass, 30000u);  // only at the start
    EXPECT_EQ(Classify("xLUMA 4.27 LUMA").modelClass, 30000u);  // first found at index 1
    EXPECT_EQ(Classify("V4.25 LUMA").modelClass, 0u);
    EXPECT_EQ(Classify("V3.0", 0x4206).modelClass, 0u);
    EXPECT_EQ(Classify("V4.30", 0x4206).modelClass, 30000u);
    EXPECT_EQ(Classify("V4.3", 0x4106).modelClass, 30000u);
    EXPECT_EQ(Classify("V4.31", 0x4205).modelClass, 10000u);
    EXPECT_EQ(Classify("V5.0", 0x4105).modelClass, 10000u);
    c = Classify("V4.30 LUMA", 0x1234);  // unknown product: the class stays
    EXPECT_TRUE(c.ok);
    EXPECT_EQ(c.version, 4.3);
    EXPECT_EQ(c.modelClass, 77u);
    c = Classify("");  // no text: nothing changes
    EXPECT_FALSE(c.ok);
    EXPECT_EQ(c.version, 7.7);
    EXPECT_EQ(c.modelClass, 77u);
}

}  // namespace
}  // namespace ravelfin
