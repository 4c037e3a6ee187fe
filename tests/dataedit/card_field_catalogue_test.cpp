#include "dataedit/card_field_catalogue.h"

#include <gtest/gtest.h>

#include <array>

#include "dataedit/formula.h"

namespace ravelfin {
namespace {

struct Catalogue {
    CardCatalogue card;
    int slot;
    std::array<std::size_t, 3> sizes;
};

TEST(CardFieldCatalogue, EachLabelStartsWithTheTextFormOfItsCode) {
    for (const Catalogue& c : {Catalogue{CardCatalogue::kCreditCard, 0, {12, 9, 0}},
                               Catalogue{CardCatalogue::kDmv, 1, {8, 11, 20}},
                               Catalogue{CardCatalogue::kAamva, 2, {10, 12, 18}}}) {
        for (int track = 1; track <= 3; ++track) {
            const auto labels = CatalogueFields(c.card, track);
            ASSERT_EQ(labels.size(), c.sizes[static_cast<std::size_t>(track - 1)])
                << c.slot << "/" << track;
            for (std::size_t p = 0; p < labels.size(); ++p) {
                const Bytes code{MakeFieldCode(track, static_cast<int>(p))};
                const std::string prefix = "(" + FormatFormulaText(code, c.slot) + ")";
                EXPECT_EQ(std::string(labels[p]).substr(0, 4), prefix) << labels[p];
            }
        }
        EXPECT_TRUE(CatalogueFields(c.card, 0).empty());
        EXPECT_TRUE(CatalogueFields(c.card, 4).empty());
    }
}

TEST(CardFieldCatalogue, LabelsAreShownAsWritten) {
    EXPECT_STREQ(CatalogueFields(CardCatalogue::kCreditCard, 1)[1], "(1b)Format Code\"B\"");
    EXPECT_STREQ(CatalogueFields(CardCatalogue::kCreditCard, 2)[8], "(21)Expiration Month(MM)");
    EXPECT_STREQ(CatalogueFields(CardCatalogue::kDmv, 3)[1], "(3b)Classs");
    EXPECT_STREQ(CatalogueFields(CardCatalogue::kAamva, 2)[2], "(2c))ANSI User ID.");
    EXPECT_STREQ(CatalogueFields(CardCatalogue::kAamva, 3)[12], "(3m)ID #");
}

}  // namespace
}  // namespace ravelfin
