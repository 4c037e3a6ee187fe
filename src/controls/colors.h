#pragma once

#include <QColor>

namespace ravelfin {

/// The colours every window of the program shares.
namespace colors {
inline QColor PaleGreen() {
    return QColor(204, 230, 214);
}  // dialog background
inline QColor AccentGreen() {
    return QColor(86, 185, 140);
}  // rules and highlights
inline QColor DeepGreen() {
    return QColor(28, 96, 66);
}  // frames and headings
inline QColor NoticeYellow() {
    return QColor(255, 255, 128);
}
}  // namespace colors

}  // namespace ravelfin
