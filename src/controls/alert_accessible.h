#pragma once

class QWidget;

namespace ravelfin {

/// Call as `window` shows (from its showEvent): assistive tools take it for an alert, as
/// they take a platform message box (role `QAccessible::AlertMessage`, which Qt's AT-SPI
/// bridge exposes as "alert"), and are told it has just shown (`QAccessible::Alert`), so that
/// a screen reader reads it out.
void AnnounceAlert(QWidget* window);

}  // namespace ravelfin
