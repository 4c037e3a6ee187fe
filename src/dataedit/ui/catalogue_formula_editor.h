#pragma once

#include <array>

#include "dataedit/card_field_catalogue.h"
#include "dataedit/ui/formula_editor.h"

namespace ravelfin {

/// The formula editor of a card whose fields the card standard fixes (credit card, DMV,
/// AAMVA): one list per track, filled from the catalogue, and the added fields. A list of a
/// track that is not selected on the Data Editing page is filled but cannot be used.
class CatalogueFormulaEditor final : public FormulaEditor {
    Q_OBJECT
  public:
    CatalogueFormulaEditor(CardCatalogue card, DataEditSettings& settings,
                           std::array<bool, 3> trackSelected, Messenger& messenger,
                           QWidget* parent);

    /// The list of `track` (1 to 3), or nullptr when the card has none.
    FieldList* TrackList(int track) const { return trackLists_[track - 1]; }

  private:
    std::array<FieldList*, 3> trackLists_{};
};

}  // namespace ravelfin
