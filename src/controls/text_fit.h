#pragma once

#include <QFont>
#include <QRect>
#include <QString>

namespace ravelfin {

/// The smallest pixel size a fitted text is drawn at; below it texts stay readable only by
/// clipping.
inline constexpr int kSmallestTextPixels = 7;

/// `font`, made smaller if it must be, so that `text` drawn with `flags` (alignment and
/// Qt::TextWordWrap) stays inside `area`. The font keeps its pixel size when the text fits
/// already; it never grows.
QFont FitFont(const QFont& font, const QRect& area, int flags, const QString& text);

/// `font`, made smaller if it must be, so that one line of `text` is at most `width` wide.
QFont FitFontToWidth(const QFont& font, int width, const QString& text);

}  // namespace ravelfin
