#pragma once

#include "advanced/advanced_context.h"

class QWidget;

namespace ravelfin {

/// The "Data Editing" tab on the record the editor holds now. A reopened reader comes with a
/// new record: the editor then builds the tab again.
QWidget* CreateDataEditingTab(const AdvancedPageContext& context, QWidget* parent);

/// Reloads the tab from its record.
void RefreshDataEditingTab(QWidget& tab);

}  // namespace ravelfin
