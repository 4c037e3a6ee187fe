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
inline QColor FocusRing() {
    return QColor(10, 60, 38);
}  // the keyboard focus on a button
inline QColor ScrollTrack() {
    return QColor(232, 240, 235);
}
inline QColor ScrollHandle() {
    return QColor(122, 156, 137);
}
}  // namespace colors

}  // namespace ravelfin
