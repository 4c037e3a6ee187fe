#include "dataedit/custom_fields.h"

#include <gtest/gtest.h>

#include "dataedit/custom_card_records.h"
#include "dataedit/custom_field_text.h"

namespace ravelfin {
namespace {

CustomFieldInput Before(const std::string& times, const std::string& text) {
    return {times, text, "", "", "", ""};
}

TEST(CustomFields, FieldNumbersRunAcrossTracksUpToTwelve) {
    CustomCardDefinition card;
    ASSERT_EQ(AddCustomField(card, CustomFieldKind::kBefore, 2, Before("2", "ID")),
              CustomFieldResult::kDone);
    ASSERT_EQ(AddCustomField(card, CustomFieldKind::kBefore, 1, Before("300", "=")),
              CustomFieldResult::kDone);
    EXPECT_EQ(card.fields[0], (Bytes{0xF2, 0x40, 0x02, 0x02, 0x49, 0x44}));
    EXPECT_EQ(card.fields[1], (Bytes{0xF2, 0x21, 44, 0x01, '='}));  // 300 keeps its low bits
    while (card.fields.size() < 12) {
        ASSERT_EQ(AddCustomField(card, CustomFieldKind::kBefore, 3, Before("1", "x")),
                  CustomFieldResult::kDone);
    }
    EXPECT_EQ(card.fields[11][1], 0x6B);  // track 3, field l
    // The count is checked before the boxes.
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kBefore, 1, {}),
              CustomFieldResult::kTooManyFields);
    EXPECT_EQ(card.fields.size(), 12u);
    // Number boxes keep the low eight bits of any length of digits.
    EXPECT_EQ(NumberBoxValue("255"), 255);
    EXPECT_EQ(NumberBoxValue("256"), 0);
    EXPECT_EQ(NumberBoxValue("99999999999999999999"), 255);  // 10^20 - 1
}

TEST(CustomFields, EachKindNeedsOnlyItsOwnBoxes) {
    CustomCardDefinition card;
    CustomFieldInput among{"1", "A", "2", "B", "", "4"};
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kAmong, 1, among),
              CustomFieldResult::kEmptyBox);
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kBefore, 1, Before("1", "")),
              CustomFieldResult::kEmptyBox);
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kBetween, 1, Before("1", "A")),
              CustomFieldResult::kEmptyBox);
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kAfter, 1, {"1", "A", "", "", "", "6"}),
              CustomFieldResult::kEmptyBox);  // no offset
    EXPECT_TRUE(card.fields.empty());

    // An After field ignores the second row, an Among field uses every box.
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kAfter, 3, {"1", "A", "", "", "5", "6"}),
              CustomFieldResult::kDone);
    among.offset = "3";
    EXPECT_EQ(AddCustomField(card, CustomFieldKind::kAmong, 1, among), CustomFieldResult::kDone);
    EXPECT_EQ(card.fields[0], (Bytes{0xF4, 0x60, 1, 5, 6, 1, 'A'}));
    EXPECT_EQ(card.fields[1], (Bytes{0xF5, 0x21, 1, 1, 'A', 2, 1, 'B', 3, 4}));
}

TEST(CustomFields, DeleteRefusedWhileThisOrALaterFieldIsUsedElseRenumbersKeepingTracks) {
    CustomCardDefinition card;
    AddCustomField(card, CustomFieldKind::kBefore, 1, Before("1", "a"));
    AddCustomField(card, CustomFieldKind::kBetween, 2, {"1", "b", "2", "bb", "", ""});
    AddCustomField(card, CustomFieldKind::kBefore, 3, Before("3", "c"));
    card.lengthLimits[0] = MakeLengthLimitRecord(1, 1, 9);
    const CustomCardDefinition before = card;
    // 0x41: field b on track 2. Fields a and b may not go (b would move), c may.
    EXPECT_TRUE(IsCustomFieldInUse(0, {0x41}, {}));
    EXPECT_TRUE(IsCustomFieldInUse(1, {}, {0x41}));
    EXPECT_FALSE(IsCustomFieldInUse(2, {0x41}, {0x41}));
    // Added fields (track 0) and codes beyond track 3 are not custom fields.
    EXPECT_FALSE(IsCustomFieldInUse(0, {0x05, 0x85, 0xE1}, {}));
    EXPECT_EQ(DeleteCustomField(card, 1, {0x20}, {0x62}), CustomFieldResult::kInUse);
    EXPECT_EQ(DeleteCustomField(card, 1, {}, {0x41}), CustomFieldResult::kInUse);
    EXPECT_EQ(DeleteCustomField(card, 3, {}, {}), CustomFieldResult::kNoSuchField);
    EXPECT_EQ(DeleteCustomField(card, -1, {}, {}), CustomFieldResult::kNoSuchField);
    EXPECT_EQ(card, before);

    ASSERT_EQ(DeleteCustomField(card, 1, {0x20}, {0x00}), CustomFieldResult::kDone);
    ASSERT_EQ(card.fields.size(), 2u);
    EXPECT_EQ(card.fields[0], before.fields[0]);
    EXPECT_EQ(card.fields[1], (Bytes{0xF2, 0x61, 3, 1, 'c'}));  // now field b, still on track 3
    EXPECT_EQ(card.lengthLimits, before.lengthLimits);
}

TEST(CustomCardRecords, EveryKindHasItsLayoutAndText) {
    CustomFieldDef between{CustomFieldKind::kBetween, 0x42, 1, {'^'}, 2, {'/', '/'}, 9, 9};
    const Bytes betweenRecord{0xF3, 0x42, 1, 1, '^', 2, 2, '/', '/'};
    EXPECT_EQ(EncodeCustomField(between), betweenRecord);
    EXPECT_EQ(FormatCustomFieldText(betweenRecord), "(2c)Between: \"^\"(1) and \"//\"(2)");

    const Bytes after{0xF4, 0x63, 3, 7, 12, 2, 'N', 'o'};  // offset, length before the string
    EXPECT_EQ(FormatCustomFieldText(after), "(3d)After: \"No\"(3) offset(7) length(12)");

    const Bytes among{0xF5, 0x20, 1, 1, 'A', 2, 1, 'B', 200, 5};  // after both strings
    EXPECT_EQ(FormatCustomFieldText(among), "(1a)Among: \"A\"(1),\"B\"(2) offset200 length5");

    // Decoding keeps only what the kind uses.
    between.offset = between.length = 0;
    EXPECT_EQ(DecodeCustomField(betweenRecord), between);
}

TEST(CustomCardRecords, DamagedRecordsAreReadWithinTheirBytes) {
    EXPECT_EQ(FormatCustomFieldText({}), "");
    EXPECT_EQ(FormatCustomFieldText({0xF0, 0x20, 1, 2}), "");
    // A string length far beyond the record: only the bytes present are taken.
    EXPECT_EQ(FormatCustomFieldText({0xF2, 0x21, 4, 200, 'A', 'B'}), "(1b)Before: \"AB\"(4)");
    EXPECT_EQ(FormatCustomFieldText({0xF5, 0x22, 1, 1}),
              "(1c)Among: \"\"(1),\"\"(0) offset0 length0");
    // A zero byte ends the shown string.
    EXPECT_EQ(FormatCustomFieldText({0xF2, 0x20, 1, 3, 'A', 0, 'B'}), "(1a)Before: \"A\"(1)");
}

TEST(CustomCardRecords, TrackRecordsAndStringsLongerThanALengthByte) {
    const Bytes limit = MakeLengthLimitRecord(2, 5, 40);
    EXPECT_EQ(limit, (Bytes{0xF0, 0x40, 5, 40}));
    EXPECT_EQ(ReadLengthLimit(limit).value().min, 5);
    EXPECT_EQ(ReadLengthLimit(limit).value().max, 40);
    EXPECT_FALSE(ReadLengthLimit({0xF0, 0x40, 5}).has_value());

    const Bytes match = MakeMatchStringRecord(3, 2, {'V', 'I'});
    EXPECT_EQ(match, (Bytes{0xF1, 0x60, 2, 2, 'V', 'I'}));
    EXPECT_EQ(ReadMatchString(match).value().offset, 2);
    EXPECT_EQ(ReadMatchString(match).value().text, (Bytes{'V', 'I'}));
    EXPECT_FALSE(ReadMatchString(limit).has_value());
    EXPECT_EQ(ReadMatchString({0xF1, 0x20, 1, 9, 'x'}).value().text, Bytes{'x'});

    // Only the first 255 bytes of a string are kept, so its length byte stays true.
    CustomFieldDef def;
    def.string1 = Bytes(300, 'z');
    const Bytes record = EncodeCustomField(def);
    ASSERT_EQ(record.size(), 4u + 255u);
    EXPECT_EQ(record[3], 255);
    EXPECT_EQ(MakeMatchStringRecord(1, 0, Bytes(256, 'q')).size(), 4u + 255u);
}

}  // namespace
}  // namespace ravelfin
