#include "dataedit/ui/formula_editors.h"

#include "dataedit/ui/catalogue_formula_editor.h"
#include "dataedit/ui/custom_card_formula_editor.h"

namespace ravelfin {

std::unique_ptr<FormulaEditor> MakeFormulaEditor(FormulaEditorKind kind, DataEditSettings& settings,
                                                 std::array<bool, 3> trackSelected,
                                                 Messenger& messenger, QWidget* parent) {
    switch (kind) {
        case FormulaEditorKind::kCreditCard:
            return std::make_unique<CatalogueFormulaEditor>(CardCatalogue::kCreditCard, settings,
                                                            trackSelected, messenger, parent);
        case FormulaEditorKind::kDmv:
            return std::make_unique<CatalogueFormulaEditor>(CardCatalogue::kDmv, settings,
                                                            trackSelected, messenger, parent);
        case FormulaEditorKind::kAamva:
            return std::make_unique<CatalogueFormulaEditor>(CardCatalogue::kAamva, settings,
                                                            trackSelected, messenger, parent);
        case FormulaEditorKind::kCustom:
        case FormulaEditorKind::kCustom2:
            break;
    }
    return std::make_unique<CustomCardFormulaEditor>(kind == FormulaEditorKind::kCustom2, settings,
                                                     messenger, parent);
}

}  // namespace ravelfin
