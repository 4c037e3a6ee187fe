#pragma once

#include <QProxyStyle>

class QApplication;

namespace ravelfin {

/// The program's own look for push buttons: rounded, gradient-filled, lighter under the
/// pointer and darker while pressed, with a dark ring inside while they have the keyboard
/// focus; tabs drawn to match, lit under the pointer; scroll bars with a handle darker than
/// their track. Everything else keeps the Fusion look. Texts and behaviour are those of the
/// standard controls.
class SkinStyle final : public QProxyStyle {
    Q_OBJECT
  public:
    SkinStyle();

    void polish(QWidget* widget) override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    using QProxyStyle::polish;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
};

/// Switches the skin on for the whole application: windows that exist and every one
/// created later. The application owns the style.
void InstallSkin(QApplication& application);

}  // namespace ravelfin
