#include "dataedit/formula.h"

#include <gtest/gtest.h>

#include <array>

#include "dataedit/added_fields.h"
#include "dataedit/card_field_catalogue.h"
#include "protocol/reader_settings.h"

namespace ravelfin {
namespace {

TEST(Formula, TextFormUsesTheDigitSpellingsOfItsOwnSlotOnly) {
    EXPECT_EQ(FormatFormulaText({0x20, 0x24, 0x40, 0x00}, 0), "1a1e2a0a");
    const Bytes spelled{0x2A, 0x2B, 0x47, 0x48, 0x49, 0x4A, 0x27, 0x28, 0x29, 0x4B};
    EXPECT_EQ(FormatFormulaText(spelled, 0), "101120212j2k1h1i1j2l");
    EXPECT_EQ(FormatFormulaText(spelled, 1), "1k1l2h2021221h1i1j2l");
    EXPECT_EQ(FormatFormulaText(spelled, 2), "1k1l2h2i202110111222");
    EXPECT_EQ(FormatFormulaText(spelled, 3), "1k1l2h2i2j2k1h1i1j2l");
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

// Ties every label to its position's code and to the digit spellings of the card's slot.
TEST(CardFieldCatalogue, EachLabelStartsWithTheTextFormOfItsCode) {
    const struct {
        CardCatalogue card;
        int slot;
        std::array<std::size_t, 3> sizes;
    } catalogues[] = {{CardCatalogue::kCreditCard, 0, {12, 9, 0}},
                      {CardCatalogue::kDmv, 1, {8, 11, 20}},
                      {CardCatalogue::kAamva, 2, {10, 12, 18}}};
    for (const auto& c : catalogues) {
        for (int track = 1; track <= 3; ++track) {
            const auto labels = CatalogueFields(c.card, track);
            ASSERT_EQ(labels.size(), c.sizes[static_cast<std::size_t>(track - 1)])
                << c.slot << "/" << track;
            for (std::size_t p = 0; p < labels.size(); ++p) {
                const Bytes code{MakeFieldCode(track, static_cast<int>(p))};
                // Appended: GCC 12 warns on "literal" + a temporary string (-Wrestrict, a
                // false positive of its inlined insert).
                std::string prefix = "(";
                prefix += FormatFormulaText(code, c.slot);
                prefix += ')';
                EXPECT_EQ(std::string(labels[p]).substr(0, 4), prefix) << labels[p];
            }
        }
        EXPECT_TRUE(CatalogueFields(c.card, 0).empty());
        EXPECT_TRUE(CatalogueFields(c.card, 4).empty());
    }
}

TEST(AddedFields, EightFieldsOfAtMostEightBytes) {
    std::vector<Bytes> fields;
    EXPECT_EQ(AddAddedField(fields, {}), AddedFieldResult::kEmptyField);
    EXPECT_EQ(AddAddedField(fields, Bytes(12, 'x')), AddedFieldResult::kDone);
    EXPECT_EQ(fields[0], Bytes(8, 'x'));
    for (std::uint8_t i = 1; i < 8; ++i) {
        ASSERT_EQ(AddAddedField(fields, {i}), AddedFieldResult::kDone);
    }
    EXPECT_EQ(AddAddedField(fields, {'9'}), AddedFieldResult::kTooManyFields);
    EXPECT_EQ(fields.size(), 8u);
}

TEST(AddedFields, DeleteRefusedWhileAFormulaUsesThisOrALaterField) {
    ReaderSettings settings;
    std::vector<Bytes> fields{{'a'}, {'b'}, {'c'}};
    const Bytes working{0x01, 0x21};  // added field b, and field b of track 1
    EXPECT_EQ(DeleteAddedField(fields, 0, settings, &working), AddedFieldResult::kInUse);
    EXPECT_EQ(DeleteAddedField(fields, 1, settings, &working), AddedFieldResult::kInUse);
    EXPECT_EQ(fields.size(), 3u);
    EXPECT_FALSE(IsAddedFieldInUse(2, settings, &working));

    // Every stored slot counts, with or without a working sequence.
    settings.formulas[3] = {0x40, 0x02};
    EXPECT_EQ(DeleteAddedField(fields, 2, settings, nullptr), AddedFieldResult::kInUse);
    settings.formulas[3] = {0x40, 0x22, 0x62};
    EXPECT_EQ(DeleteAddedField(fields, 3, settings, nullptr), AddedFieldResult::kNoSuchField);
    EXPECT_EQ(DeleteAddedField(fields, 0, settings, nullptr), AddedFieldResult::kDone);
    EXPECT_EQ(fields, (std::vector<Bytes>{{'b'}, {'c'}}));  // later fields move up
}

}  // namespace
}  // namespace ravelfin
