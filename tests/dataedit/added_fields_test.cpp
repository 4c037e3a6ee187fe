#include "dataedit/added_fields.h"

#include <gtest/gtest.h>

#include "protocol/reader_settings.h"

namespace ravelfin {
namespace {

TEST(AddedFields, EightFieldsOfAtMostEightBytes) {
    std::vector<Bytes> fields;
    EXPECT_EQ(AddAddedField(fields, {}), AddedFieldResult::kEmptyField);
    EXPECT_EQ(AddedFieldMessage(AddedFieldResult::kEmptyField), "Please input invalid field.");
    EXPECT_EQ(AddAddedField(fields, Bytes(12, 'x')), AddedFieldResult::kDone);
    EXPECT_EQ(fields[0], Bytes(8, 'x'));
    for (std::uint8_t i = 1; i < 8; ++i) {
        ASSERT_EQ(AddAddedField(fields, {i}), AddedFieldResult::kDone);
    }
    EXPECT_EQ(AddAddedField(fields, {'9'}), AddedFieldResult::kTooManyFields);
    EXPECT_EQ(fields.size(), 8u);
    EXPECT_EQ(AddedFieldMessage(AddedFieldResult::kTooManyFields),
              "Only 8 added field can be set!");
}

TEST(AddedFields, DeleteRefusedWhileAFormulaUsesThisOrALaterField) {
    ReaderSettings settings;
    std::vector<Bytes> fields{{'a'}, {'b'}, {'c'}};
    const Bytes working{0x01, 0x21};  // added field b, and field b of track 1
    EXPECT_EQ(DeleteAddedField(fields, 0, settings, &working), AddedFieldResult::kInUse);
    EXPECT_EQ(AddedFieldMessage(AddedFieldResult::kInUse),
              "Cannot delete an Added field been currently used.");
    EXPECT_EQ(DeleteAddedField(fields, 1, settings, &working), AddedFieldResult::kInUse);
    EXPECT_EQ(fields.size(), 3u);
    EXPECT_FALSE(IsAddedFieldInUse(2, settings, &working));

    // Every stored slot counts, with or without a working sequence.
    settings.formulas[3] = {0x40, 0x02};
    EXPECT_TRUE(IsAddedFieldInUse(2, settings, nullptr));
    EXPECT_EQ(DeleteAddedField(fields, 2, settings, nullptr), AddedFieldResult::kInUse);
    settings.formulas[3] = {0x40, 0x22, 0x62};
    EXPECT_EQ(DeleteAddedField(fields, 3, settings, nullptr), AddedFieldResult::kNoSuchField);
    EXPECT_EQ(DeleteAddedField(fields, 0, settings, nullptr), AddedFieldResult::kDone);
    EXPECT_EQ(fields, (std::vector<Bytes>{{'b'}, {'c'}}));  // later fields move up
}

}  // namespace
}  // namespace ravelfin
