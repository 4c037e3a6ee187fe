#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace ravelfin {

/// Paints the main window's welcome page: the header with logo, title and rule, the pale
/// green panel, the reader picture and the welcome text. `content` is the area that the
/// pages cover; the text starts at its left edge.
/// Texts that do not fit their areas are drawn smaller.
void PaintWelcomePage(QPainter& painter, const QSize& window, const QRect& content);

/// The welcome text, as a screen reader reads it.
QString WelcomeText();
/// Where the welcome text is drawn: inside the panel, clear of its border.
QRect WelcomeTextArea(const QSize& window, const QRect& content);
/// The font the welcome text is drawn with in `area`: as designed, or smaller when the text
/// would not fit.
QFont WelcomeTextFont(const QRect& area);

}  // namespace ravelfin
