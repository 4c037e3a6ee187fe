#include "dataedit/formula.h"

#include <gtest/gtest.h>

#include "protocol/reader_settings.h"

namespace ravelfin {
namespace {

TEST(Formula, TextFormFollowsTheSlotsDigitSpellings) {
    EXPECT_EQ(FormatFormulaText({0x20, 0x24, 0x40, 0x00}, 0), "1a1e2a0a");
    EXPECT_EQ(FormatFormulaText({}, 0), "");
    const Bytes spelled{0x2A, 0x2B, 0x47, 0x48, 0x49, 0x4A, 0x27, 0x28, 0x29, 0x4B};
    EXPECT_EQ(FormatFormulaText(spelled, 0),
              "10112021"
              "2j2k1h1i1j2l");
    EXPECT_EQ(FormatFormulaText(spelled, 1),
              "1k1l2h20"
              "21221h1i1j2l");
    EXPECT_EQ(FormatFormulaText(spelled, 2),
              "1k1l2h2i"
              "2021101112"
              "22");
    EXPECT_EQ(FormatFormulaText(spelled, 3),
              "1k1l2h2i"
              "2j2k1h1i1j2l");
    // Field numbers past z keep counting characters; no code is ever dropped.
    EXPECT_EQ(FormatFormulaText({0x1F, 0xE0}, 3), std::string("0") + char('a' + 31) + "7a");
}

TEST(Formula, AppendStopsAtOneHundredThirtyItems) {
    ReaderSettings settings;
    settings.formulas[0] = Bytes(100, 0x20);
    settings.formulas[2] = Bytes(30, 0x21);
    Bytes working;  // the AAMVA editor cleared its sequence
    EXPECT_FALSE(AppendFormulaCode(settings, 2, working, 0x22));
    EXPECT_TRUE(working.empty());
    EXPECT_EQ(TooManyFormulaItemsMessage(), "Only 130 items can be added for Send Command.");

    // The stored total holds even though the editor's own sequence is shorter.
    settings.formulas[2] = Bytes(29, 0x21);
    EXPECT_TRUE(AppendFormulaCode(settings, 2, working, 0x22));
    EXPECT_EQ(working, Bytes{0x22});
    settings.formulas[2].push_back(0x21);
    EXPECT_FALSE(AppendFormulaCode(settings, 2, working, 0x22));

    // The other slots plus the working sequence.
    settings.formulas[2].clear();
    working = Bytes(29, 0x41);
    EXPECT_TRUE(AppendFormulaCode(settings, 2, working, 0x42));
    EXPECT_EQ(working.size(), 30u);
    EXPECT_EQ(working.back(), 0x42);
    EXPECT_FALSE(AppendFormulaCode(settings, 2, working, 0x42));
    // Editing slot 0 instead: its stored 100 are replaced by the working 30.
    EXPECT_TRUE(AppendFormulaCode(settings, 0, working, 0x42));
}

}  // namespace
}  // namespace ravelfin
