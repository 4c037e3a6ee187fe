#include "controls/text_fit.h"

#include <QFontInfo>
#include <QFontMetrics>

namespace ravelfin {

namespace {

int PixelSize(const QFont& font) {
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

template <typename Fits>
QFont Shrink(const QFont& font, Fits fits) {
    QFont fitted(font);
    for (int size = PixelSize(font); size > kSmallestTextPixels && !fits(fitted); --size)
        fitted.setPixelSize(size - 1);
    return fitted;
}

}  // namespace

QFont FitFont(const QFont& font, const QRect& area, int flags, const QString& text) {
    return Shrink(font, [&](const QFont& candidate) {
        // A word longer than the line is wide sticks out to the side, so both sizes count.
        const QRect bounds = QFontMetrics(candidate).boundingRect(area, flags, text);
        return bounds.width() <= area.width() && bounds.height() <= area.height();
    });
}

QFont FitFontToWidth(const QFont& font, int width, const QString& text) {
    return Shrink(font, [&](const QFont& candidate) {
        return QFontMetrics(candidate).horizontalAdvance(text) <= width;
    });
}

}  // namespace ravelfin
