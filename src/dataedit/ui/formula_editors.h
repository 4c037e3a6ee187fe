#pragma once

#include <array>
#include <memory>

#include "dataedit/data_edit_settings.h"
#include "dataedit/formula_slots.h"

class QWidget;

namespace ravelfin {

class FormulaEditor;
class Messenger;

/// The editor of `kind` on `settings`, not yet shown.
std::unique_ptr<FormulaEditor> MakeFormulaEditor(FormulaEditorKind kind, DataEditSettings& settings,
                                                 std::array<bool, 3> trackSelected,
                                                 Messenger& messenger, QWidget* parent);

}  // namespace ravelfin
