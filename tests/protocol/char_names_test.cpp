#include "protocol/char_names.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "protocol/text_encoding.h"

namespace ravelfin {
namespace {

TEST(CharNames, AWrongIndexReadsNothingFromOutsideTheTable) {
    EXPECT_EQ(CharNameAt(CharNameCount()), "");
    EXPECT_EQ(CharNameLengthAt(-1), 0);
    EXPECT_EQ(CharCodeAt(1000), 0);
}

TEST(CharNames, DisplayTextUsesTheNameOrTheByteItself) {
    for (std::uint8_t code : {0x20, 0x41, 0x80, 0xCF, 0xD0, 0xFF}) {
        EXPECT_EQ(ByteToDisplayText(code), std::string(1, static_cast<char>(code)));
    }
    EXPECT_EQ(ByteToDisplayText(0x02), "\\stx");
    EXPECT_EQ(ByteToDisplayText(0x97), "\\esc");
    EXPECT_EQ(ByteToDisplayText(0x9C), "\\bs");
    EXPECT_EQ(BytesToDisplayText({0x02, 0x41, 0x0D, 0x0A}), "\\stxA\\cr\\lf");
    EXPECT_EQ(BytesToDisplayText({0xD1, 0x00, 0x00}), "\\cr_lf\\nul\\nul");
    EXPECT_EQ(BytesToDisplayText({}), "");
    EXPECT_EQ(Latin1ToUtf8(std::string("A\x7F\0", 3)), std::string("A\x7F\0", 3));
    EXPECT_EQ(Latin1ToUtf8("\x80\xE9\xFF"), "\xC2\x80\xC3\xA9\xC3\xBF");
}

TEST(CharNames, PositionsMapToWholeNames) {
    const Bytes bytes{'x', 0xD1, 0x9D, 'y', 0x00};          // x\cr_lf\..y\nul
    const std::vector<int> starts = {0, 1, 7, 10, 11, 15};  // of each byte's text, and the end
    for (int i = -2; i <= 7; ++i) {
        EXPECT_EQ(ByteIndexToDisplayPos(bytes, i), starts[std::clamp(i, 0, 5)]) << i;
    }
    for (int pos = 0; pos <= 20; ++pos) {  // a position inside a name maps to its byte
        const auto byte = std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin() - 1;
        EXPECT_EQ(DisplayPosToByteIndex(bytes, pos), std::min<int>(byte, 5)) << pos;
    }
    EXPECT_EQ(DisplayPosToByteIndex({}, 3), 0);
}

TEST(CharNames, NamedTextReadsNamesBackWithTheEscapesOfItsForm) {
    // Every byte's shown text reads back as that byte, but for the second code of a name.
    for (int code = 0; code < 256; ++code) {
        Bytes bytes;
        std::string error;
        ASSERT_TRUE(ParseNamedText(ByteToDisplayText(static_cast<std::uint8_t>(code)),
                                   NamedTextForm::kShown, bytes, error));
        const int expected = code == 0x97 ? 0x1B : code == 0x9C ? 0x08 : code;
        EXPECT_EQ(bytes, Bytes{static_cast<std::uint8_t>(expected)}) << code;
    }
    const auto kEscaped = NamedTextForm::kEscaped;
    const auto kShown = NamedTextForm::kShown;
    const std::tuple<const char*, NamedTextForm, Bytes> cases[] = {
        {"\\stx%\\cr_lf\\crA", kEscaped, {0x02, '%', 0xD1, 0x0D, 'A'}},
        {"\\stx%\\cr_lf\\crA", kShown, {0x02, '%', 0xD1, 0x0D, 'A'}},
        {"\\\\x41\\x4\\XfF", kEscaped, {'\\', 'x', '4', '1', 0x04, 0xFF}},
        {"\\\\x41\\x4", kShown, {'\\', '\\', 'x', '4', '1', '\\', 'x', '4'}},
        {"a\\b\\", kShown, {'a', '\\', 'b', '\\'}},
        {"\\stz\\stx", kShown, {'\\', 's', 't', 'z', 0x02}},
        {"", kEscaped, {}},
    };
    for (const auto& [text, form, expected] : cases) {
        Bytes bytes{0x55};
        std::string error;
        EXPECT_TRUE(ParseNamedText(text, form, bytes, error)) << text;
        EXPECT_EQ(bytes, expected) << text;
    }
    for (const char* malformed : {"a\\b", "\\stz", "\\x", "\\xg", "\\"}) {
        Bytes bytes;
        std::string error;
        EXPECT_FALSE(ParseNamedText(malformed, kEscaped, bytes, error)) << malformed;
        EXPECT_NE(error.find("is neither"), std::string::npos) << malformed;
    }
}

}  // namespace
}  // namespace ravelfin
