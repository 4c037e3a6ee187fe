#include "protocol/char_names.h"

#include <gtest/gtest.h>

#include <set>

#include "protocol/text_encoding.h"

namespace ravelfin {
namespace {

TEST(CharNames, NamedCodesAreExactlyTheControlAndKeyCodes) {
    ASSERT_EQ(CharNameCount(), 111);
    std::set<std::uint8_t> codes;
    for (int i = 0; i < CharNameCount(); ++i) {
        codes.insert(CharCodeAt(i));
        const std::string name = CharNameAt(i);
        EXPECT_EQ(name.front(), '\\') << i;
        EXPECT_EQ(CharNameLengthAt(i), static_cast<int>(name.size())) << name;
    }
    EXPECT_EQ(codes.size(), 111u);  // no code twice
    for (int code = 0; code < 256; ++code) {
        const bool named = code < 0x20 || (code >= 0x81 && code <= 0xCE) || code == 0xD1;
        int index = -7;
        EXPECT_EQ(FindCharName(static_cast<std::uint8_t>(code), index), named) << code;
        if (named) {
            EXPECT_EQ(CharCodeAt(index), code);
        } else {
            EXPECT_EQ(index, -7) << "index must stay untouched";
        }
    }
}

TEST(CharNames, RowsKeepTheirPickListOrder) {
    struct Row {
        int index;
        std::uint8_t code;
        const char* name;
    };
    for (const Row& r :
         {Row{0, 0x00, "\\nul"}, Row{8, 0x08, "\\bs"}, Row{27, 0x1B, "\\esc"},
          Row{31, 0x1F, "\\us"}, Row{32, 0x81, "\\f1"}, Row{41, 0x8A, "\\fa"},
          Row{54, 0x97, "\\esc"}, Row{59, 0x9C, "\\bs"}, Row{63, 0xA0, "\\ctr2"},
          Row{67, 0xA4, "\\l_shift_bk"}, Row{77, 0xAE, "\\r_alt_bk"}, Row{80, 0xB1, "\\num0"},
          Row{104, 0xC9, "\\num_/"}, Row{107, 0xCC, "\\num_+"}, Row{109, 0xCE, "\\num_ins"},
          Row{110, 0xD1, "\\cr_lf"}}) {
        EXPECT_EQ(CharCodeAt(r.index), r.code) << r.index;
        EXPECT_EQ(CharNameAt(r.index), r.name) << r.index;
    }
    // Indexes never come from elsewhere, but a wrong one must not read past the table.
    EXPECT_EQ(CharNameAt(111), "");
    EXPECT_EQ(CharNameLengthAt(-1), 0);
    EXPECT_EQ(CharCodeAt(1000), 0);
}

TEST(CharNames, DisplayTextUsesNamesOrTheByteItself) {
    EXPECT_EQ(ByteToDisplayText(0x02), "\\stx");
    EXPECT_EQ(ByteToDisplayText(0x41), "A");
    EXPECT_EQ(ByteToDisplayText(0x20), " ");
    for (std::uint8_t code : {0x80, 0xCF, 0xD0, 0xFF}) {
        EXPECT_EQ(ByteToDisplayText(code), std::string(1, static_cast<char>(code)));
    }
    EXPECT_EQ(ByteToDisplayText(0x1B), "\\esc");
    EXPECT_EQ(ByteToDisplayText(0x97), "\\esc");
    EXPECT_EQ(ByteToDisplayText(0x08), "\\bs");
    EXPECT_EQ(ByteToDisplayText(0x9C), "\\bs");

    EXPECT_EQ(BytesToDisplayText({0x02, 0x41, 0x0D, 0x0A}), "\\stxA\\cr\\lf");
    EXPECT_EQ(BytesToDisplayText({0xD1}), "\\cr_lf");
    EXPECT_EQ(BytesToDisplayText({0x00, 0x00}), "\\nul\\nul");
    EXPECT_EQ(BytesToDisplayText({}), "");
}

TEST(CharNames, PositionsMapToWholeNames) {
    const Bytes stxA{0x02, 0x41};
    for (int pos : {0, 1, 2, 3}) {
        EXPECT_EQ(DisplayPosToByteIndex(stxA, pos), 0) << pos;
    }
    EXPECT_EQ(DisplayPosToByteIndex(stxA, 4), 1);
    EXPECT_EQ(DisplayPosToByteIndex(stxA, 5), 2);
    EXPECT_EQ(DisplayPosToByteIndex(stxA, 500), 2);
    EXPECT_EQ(ByteIndexToDisplayPos(stxA, 0), 0);
    EXPECT_EQ(ByteIndexToDisplayPos(stxA, 1), 4);
    EXPECT_EQ(ByteIndexToDisplayPos(stxA, 2), 5);
    EXPECT_EQ(ByteIndexToDisplayPos(stxA, -3), 0);
    EXPECT_EQ(ByteIndexToDisplayPos(stxA, 9), 5);  // past the end: the end
    EXPECT_EQ(DisplayPosToByteIndex({}, 3), 0);

    // Mapping any position to a byte and back lands on the start of that byte's text:
    // the caret never rests inside a name.
    const Bytes mixed{'x', 0xD1, 0x9D, 'y', 0x00};
    const std::string text = BytesToDisplayText(mixed);
    std::set<int> starts;
    for (int i = 0; i <= static_cast<int>(mixed.size()); ++i) {
        starts.insert(ByteIndexToDisplayPos(mixed, i));
    }
    EXPECT_EQ(starts, (std::set<int>{0, 1, 7, 10, 11, 15}));
    for (int pos = 0; pos <= static_cast<int>(text.size()); ++pos) {
        const int back = ByteIndexToDisplayPos(mixed, DisplayPosToByteIndex(mixed, pos));
        EXPECT_LE(back, pos);
        EXPECT_TRUE(starts.count(back)) << pos;
    }
}

TEST(TextEncoding, Latin1BecomesUtf8) {
    EXPECT_EQ(Latin1ToUtf8("A\x7F"), "A\x7F");
    EXPECT_EQ(Latin1ToUtf8("\x80\xE9\xFF"), "\xC2\x80\xC3\xA9\xC3\xBF");
    EXPECT_EQ(Latin1ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace ravelfin
