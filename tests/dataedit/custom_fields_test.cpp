#include "dataedit/custom_fields.h"

#include <gtest/gtest.h>

#include "dataedit/custom_field_text.h"

namespace ravelfin {
namespace {

CustomFieldInput Before(const std::string& times, const std::string& text) {
    CustomFieldInput in;
    in.times1 = times;
    in.string1 = text;
    return in;
}

TEST(CustomFields, FieldNumbersRunAcrossTracks) {
    CustomCardDefinition card;
    ASSERT_EQ(AddCustomField(card, CustomFieldKind::kBefore, 2, Before("2", "ID")),
              CustomFieldResult::kDone);
    ASSERT_EQ(AddCustomField(card, CustomFieldKind::kBefore, 1, Before("300", "=")),
              CustomFieldResult::kDone);
    EXPECT_EQ(card.fields[0], (Bytes{0xF2, 0x40, 0x02, 0x02, 0x49, 0x44}));
    EXPECT_EQ(card.fields[1], (Bytes{0xF2, 0x21, 44, 0x01, '='}));  // 300 keeps its low bits
    EXPECT_EQ(FormatCustomFieldText(card.fields[0]), "(2a)Before: \"ID\"(2)");
    EXPECT_EQ(FormatCustomFieldText(card.fields[1]), "(1b)Before: \"=\"(44)");
}

TEST(CustomFields, NumberBoxesKeepTheLowEightBitsOfAnyLength) {
    EXPECT_EQ(NumberBoxValue("300"), 44);
    EXPECT_EQ(NumberBoxValue("255"), 255);
    EXPECT_EQ(NumberBoxValue("256"), 0);
    EXPECT_EQ(NumberBoxValue("99999999999999999999"), 255);  // 10^20 - 1
    EXPECT_EQ(NumberBoxValue(""), 0);
}

TEST(CustomFields, EachKindNeedsOnlyItsOwnBoxes) {
    CustomCardDefinition card;
    CustomFieldInput among{"1", "A", "2", "B", "", "4"};
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kAmong, 1, among),
              CustomFieldResult::kEmptyBox);
    EXPECT_EQ(CustomFieldMessage(CustomFieldResult::kEmptyBox),
              "Please input valid value in the field.");
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kBefore, 1, Before("1", "")),
              CustomFieldResult::kEmptyBox);
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kBetween, 1, Before("1", "A")),
              CustomFieldResult::kEmptyBox);
    EXPECT_TRUE(card.fields.empty());

    // An After field ignores the second row, an Among field uses every box.
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kAfter, 3, {"1", "A", "", "", "5", "6"}),
              CustomFieldResult::kDone);
    among.offset = "3";
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kAmong, 1, among), CustomFieldResult::kDone);
    EXPECT_EQ(card.fields[0], (Bytes{0xF4, 0x60, 1, 5, 6, 1, 'A'}));
    EXPECT_EQ(card.fields[1], (Bytes{0xF5, 0x21, 1, 1, 'A', 2, 1, 'B', 3, 4}));
}

TEST(CustomFields, TwelveFieldsAtMost) {
    CustomCardDefinition card;
    for (int i = 0; i < 12; ++i) {
        ASSERT_EQ(AddCustomField(card, CustomFieldKind::kBefore, 1, Before("1", "x")),
                  CustomFieldResult::kDone);
    }
    EXPECT_EQ(card.fields[11][1], 0x2B);
    // The count is checked before the boxes.
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kBefore, 1, {}),
              CustomFieldResult::kTooManyFields);
    EXPECT_EQ(card.fields.size(), 12u);
    EXPECT_EQ(CustomFieldMessage(CustomFieldResult::kTooManyFields),
              "Only 12 flexible field can be set!");
}

TEST(CustomFields, DeleteRenumbersLaterFieldsAndKeepsTheirTracks) {
    CustomCardDefinition card;
    AddCustomField(card, CustomFieldKind::kBefore, 1, Before("1", "a"));
    AddCustomField(card, CustomFieldKind::kBetween, 2, {"1", "b", "2", "bb", "", ""});
    AddCustomField(card, CustomFieldKind::kBefore, 3, Before("3", "c"));
    card.lengthLimits[0] = MakeLengthLimitRecord(1, 1, 9);

    EXPECT_EQ(DeleteCustomField(card, 3, {}, {}), CustomFieldResult::kNoSuchField);
    EXPECT_EQ(DeleteCustomField(card, -1, {}, {}), CustomFieldResult::kNoSuchField);
    ASSERT_EQ(DeleteCustomField(card, 1, {}, {}), CustomFieldResult::kDone);
    ASSERT_EQ(card.fields.size(), 2u);
    EXPECT_EQ(card.fields[0][1], 0x20);
    EXPECT_EQ(card.fields[1], (Bytes{0xF2, 0x61, 3, 1, 'c'}));
    EXPECT_EQ(FormatCustomFieldText(card.fields[1]), "(3b)Before: \"c\"(3)");
    EXPECT_EQ(card.lengthLimits[0], MakeLengthLimitRecord(1, 1, 9));
}

TEST(CustomFields, FieldsAtOrAfterAReferencedOneAreInUse) {
    CustomCardDefinition card;
    for (int track : {1, 2, 3}) {
        AddCustomField(card, CustomFieldKind::kBefore, track, Before("1", "x"));
    }
    const CustomCardDefinition before = card;
    // 0x41: field b on track 2. Fields a and b may not go (b would move), c may.
    EXPECT_TRUE(IsCustomFieldInUse(0, {0x41}, {}));
    EXPECT_TRUE(IsCustomFieldInUse(1, {}, {0x41}));
    EXPECT_FALSE(IsCustomFieldInUse(2, {0x41}, {0x41}));
    // Added fields (track 0) and codes beyond track 3 are not custom fields.
    EXPECT_FALSE(IsCustomFieldInUse(0, {0x05, 0x85, 0xE1}, {}));

    EXPECT_EQ(DeleteCustomField(card, 1, {0x20}, {0x62}), CustomFieldResult::kInUse);
    EXPECT_EQ(card, before);
    EXPECT_EQ(CustomFieldMessage(CustomFieldResult::kInUse),
              "Cannot delete a Custom field been currently used.");
    EXPECT_EQ(DeleteCustomField(card, 1, {0x20}, {0x00}), CustomFieldResult::kDone);
    EXPECT_EQ(CustomFormulaSlot(false), 3u);
    EXPECT_EQ(CustomFormulaSlot(true), 1u);
}

}  // namespace
}  // namespace ravelfin
