#include "dataedit/custom_card_records.h"

#include <gtest/gtest.h>

#include "dataedit/custom_field_text.h"

namespace ravelfin {
namespace {

TEST(CustomCardRecords, EveryKindHasItsLayoutAndText) {
    CustomFieldDef between{CustomFieldKind::kBetween, 0x42, 1, {'^'}, 2, {'/', '/'}, 9, 9};
    const Bytes betweenRecord{0xF3, 0x42, 1, 1, '^', 2, 2, '/', '/'};
    EXPECT_EQ(EncodeCustomField(between), betweenRecord);
    EXPECT_EQ(FormatCustomFieldText(betweenRecord), "(2c)Between: \"^\"(1) and \"//\"(2)");

    const Bytes after{0xF4, 0x63, 3, 7, 12, 2, 'N', 'o'};  // offset, length before the string
    EXPECT_EQ(FormatCustomFieldText(after), "(3d)After: \"No\"(3) offset(7) length(12)");

    const Bytes among{0xF5, 0x20, 1, 1, 'A', 2, 1, 'B', 200, 5};  // after both strings
    EXPECT_EQ(FormatCustomFieldText(among), "(1a)Among: \"A\"(1),\"B\"(2) offset200 length5");

    for (const Bytes& record : {betweenRecord, after, among}) {
        const auto def = DecodeCustomField(record);
        ASSERT_TRUE(def.has_value());
        EXPECT_EQ(EncodeCustomField(*def), record);
    }
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

TEST(CustomCardRecords, LongStringsKeepAConsistentLengthByte) {
    CustomFieldDef def;
    def.string1 = Bytes(300, 'z');
    const Bytes record = EncodeCustomField(def);
    ASSERT_EQ(record.size(), 4u + 255u);
    EXPECT_EQ(record[3], 255);
    EXPECT_EQ(MakeMatchStringRecord(1, 0, Bytes(256, 'q')).size(), 4u + 255u);
}

TEST(CustomCardRecords, LengthLimitsAndMatchStrings) {
    const Bytes limit = MakeLengthLimitRecord(2, 5, 40);
    EXPECT_EQ(limit, (Bytes{0xF0, 0x40, 5, 40}));
    const auto read = ReadLengthLimit(limit);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->min, 5);
    EXPECT_EQ(read->max, 40);
    EXPECT_FALSE(ReadLengthLimit({0xF0, 0x40, 5}).has_value());
    EXPECT_FALSE(ReadLengthLimit({}).has_value());

    const Bytes match = MakeMatchStringRecord(3, 2, {'V', 'I'});
    EXPECT_EQ(match, (Bytes{0xF1, 0x60, 2, 2, 'V', 'I'}));
    const auto m = ReadMatchString(match);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->offset, 2);
    EXPECT_EQ(m->text, (Bytes{'V', 'I'}));
    EXPECT_FALSE(ReadMatchString(limit).has_value());
    EXPECT_EQ(ReadMatchString({0xF1, 0x20, 1, 9, 'x'})->text, Bytes{'x'});
}

}  // namespace
}  // namespace ravelfin
