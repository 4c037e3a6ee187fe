#pragma once

#include <QProxyStyle>

class QApplication;

namespace ravelfin {

/// The program's own look for push buttons: rounded, gradient-filled, lighter under the
/// pointer and darker while pressed; tabs drawn to match, lit under the pointer. Everything
/// else keeps the Fusion look. Texts and
/// behaviour are those of the standard buttons.
class SkinStyle final : public QProxyStyle {
    Q_OBJECT
  public:
    SkinStyle();

    void polish(QWidget* widget) override;
    using QProxyStyle::polish;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

/// Switches the skin on for the whole application: windows that exist and every one
/// created later. The application owns the style.
void InstallSkin(QApplication& application);

}  // namespace ravelfin
