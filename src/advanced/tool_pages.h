#pragma once

#include "advanced/advanced_context.h"

class QWidget;

namespace ravelfin {

// The reader tools' pages of the advanced editor. Each is built with the editor's page
// context as its parent's child and lives as long as the editor.

/// "Quick Clone": copies one attached reader's settings to another.
QWidget* CreateQuickClonePage(const AdvancedPageContext& context, QWidget* parent);
/// "Manual Command": sends a typed command frame and logs the answer.
QWidget* CreateManualCommandPage(const AdvancedPageContext& context, QWidget* parent);
/// "Set Boot Loader Mode": switches a reader below firmware 4.0 into its boot loader.
QWidget* CreateBootLoaderPage(const AdvancedPageContext& context, QWidget* parent);

}  // namespace ravelfin
