#include <gtest/gtest.h>

#include "dataedit/custom_card_limits.h"
#include "dataedit/data_edit_mode.h"
#include "dataedit/formula_slots.h"
#include "protocol/reader_settings.h"

namespace ravelfin {
namespace {

TEST(DataEditMode, OddCodesAreEnabledAndBitOneIsUnmatched) {
    EXPECT_EQ(ReadDataEditMode('0'), (DataEditChoice{false, false}));
    EXPECT_EQ(ReadDataEditMode('1'), (DataEditChoice{true, false}));
    EXPECT_EQ(ReadDataEditMode('3'), (DataEditChoice{true, true}));
    EXPECT_EQ(ReadDataEditMode('2'), (DataEditChoice{false, true}));  // as a reader may hold it
    EXPECT_EQ(DataEditModeFor({true, true}), '3');
    EXPECT_EQ(DataEditModeFor({true, false}), '1');
    EXPECT_EQ(DataEditModeFor({false, true}), '0');  // disabling forgets the method
}

TEST(FormulaSlots, TheSecondSlotTurnsIntoCustom2AtVersion332) {
    ReaderSettings settings;
    settings.formulas[kSlotCreditCard] = {0x20, 0x21, 0x40};
    settings.formulas[kSlotDmvOrCustom2] = {0x48};
    settings.formulas[kSlotCustom] = {0x48};
    const auto at331 = FormulaLines(settings, 3.31);
    ASSERT_EQ(at331.size(), 3u);
    EXPECT_EQ(at331[0].text, "Credit Card: 1a1b2a");
    EXPECT_EQ(at331[1].text, "DMV: 20");
    EXPECT_EQ(at331[2].slot, kSlotCustom);
    EXPECT_EQ(at331[2].text, "Custom: 2i");  // the Custom card has no digit spellings
    EXPECT_EQ(FormulaLines(settings, 3.32)[1].text, "Custom2: 20");
    settings.formulas[kSlotAamva] = {0x27};
    EXPECT_EQ(FormulaLines(settings, 4.3)[2].text, "AAMVA: 10");

    EXPECT_EQ(EditorForSlot(kSlotDmvOrCustom2, 3.31), FormulaEditorKind::kDmv);
    EXPECT_EQ(EditorForSlot(kSlotDmvOrCustom2, 3.32), FormulaEditorKind::kCustom2);
    EXPECT_EQ(EditorForSlot(kSlotCustom, 3.32), FormulaEditorKind::kCustom);

    using Tracks = std::array<bool, 3>;
    EXPECT_EQ(TrackBoxesEnabled(kSlotCreditCard, 4.3, true), (Tracks{true, true, false}));
    EXPECT_EQ(TrackBoxesEnabled(kSlotDmvOrCustom2, 3.31, true), (Tracks{true, true, true}));
    EXPECT_EQ(TrackBoxesEnabled(kSlotDmvOrCustom2, 3.32, true), (Tracks{false, false, false}));
    EXPECT_EQ(TrackBoxesEnabled(kSlotAamva, 4.3, true), (Tracks{true, true, true}));
    EXPECT_EQ(TrackBoxesEnabled(kSlotCustom, 3.1, true), (Tracks{false, false, false}));
    EXPECT_EQ(TrackBoxesEnabled(kSlotAamva, 4.3, false), (Tracks{false, false, false}));
}

TEST(FormulaSlots, ClearAllKeepsAddedFieldsAndTrackRules) {
    ReaderSettings settings;
    settings.addedFields = {{'A'}};
    settings.custom.fields.assign(5, Bytes{0xF2, 0x20, 1, 1, 'x'});
    settings.custom2.fields.assign(1, Bytes{0xF2, 0x20, 1, 1, 'x'});
    settings.custom.lengthLimits[1] = {0xF0, 0x40, 5, 9};
    settings.custom2.matchStrings[0] = {0xF1, 0x20, 0, 1, 'B'};
    for (Bytes& f : settings.formulas)
        f = {0x00};
    ReaderSettings expected = settings;
    expected.custom.fields.clear();
    expected.custom2.fields.clear();
    expected.formulas = {};
    ClearAllFormulas(settings);
    EXPECT_EQ(settings, expected);
}

TEST(CustomCardLimits, ARecordNeedsBothBoxes) {
    EXPECT_EQ(LengthLimitFromBoxes(2, "12", "300"), (Bytes{0xF0, 0x40, 12, 44}));
    EXPECT_TRUE(LengthLimitFromBoxes(2, "12", "").empty());
    EXPECT_TRUE(LengthLimitFromBoxes(2, "", "9").empty());
    EXPECT_EQ(MatchStringFromBoxes(3, "4", "%B"), (Bytes{0xF1, 0x60, 4, 2, '%', 'B'}));
    EXPECT_TRUE(MatchStringFromBoxes(3, "4", "").empty());
    EXPECT_TRUE(MatchStringFromBoxes(3, "", "%B").empty());
}

}  // namespace
}  // namespace ravelfin
