#pragma once

#include <QRect>
#include <QSize>

class QPainter;

namespace ravelfin {

/// Paints the main window's welcome page: the header with logo, title and rule, the pale
/// green panel, the reader picture and the welcome text. `content` is the area that the
/// pages cover; the text starts at its left edge.
void PaintWelcomePage(QPainter& painter, const QSize& window, const QRect& content);

}  // namespace ravelfin
