#pragma once

#include <span>

namespace ravelfin {

/// The card types whose fields are fixed by the card standard.
enum class CardCatalogue {
    kCreditCard,  // formula slot 0
    kDmv,         // formula slot 1 below firmware 3.32
    kAamva,       // formula slot 2
};

/// The field labels of `track` (1 to 3) in list order; the field at position p has the
/// code track * 32 + p. Empty for a track the card type does not use.
std::span<const char* const> CatalogueFields(CardCatalogue card, int track);

}  // namespace ravelfin
