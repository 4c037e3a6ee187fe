#pragma once

class QHBoxLayout;
class QVBoxLayout;
class QWidget;

namespace ravelfin {

/// Lays `window` out as a body that scrolls above a row of buttons that never does, so that
/// on a screen too small for the body (a laptop at a large scale) the buttons stay in sight.
/// Returns the body's layout, for the window's controls.
QVBoxLayout* ScrollingBody(QWidget& window, QHBoxLayout* buttonRow);

/// Keeps a window within the available area of its screen: smaller where it is larger, and
/// moved in where it stands out.
void KeepOnScreen(QWidget& window);

}  // namespace ravelfin
