#include "controls/skin_style.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>
#include <QTabBar>

#include "controls/colors.h"

namespace ravelfin {

namespace {

void DrawButtonPanel(const QStyleOption& option, QPainter& painter) {
    const bool enabled = option.state & QStyle::State_Enabled;
    const bool pressed = option.state & (QStyle::State_Sunken | QStyle::State_On);
    const bool hover = enabled && (option.state & QStyle::State_MouseOver);

    QColor top(255, 255, 255);
    QColor bottom = colors::PaleGreen().darker(hover ? 100 : 108);
    QColor frame = colors::DeepGreen();
    if (pressed) {
        top = colors::AccentGreen().lighter(110);
        bottom = colors::AccentGreen().darker(115);
    } else if (hover) {
        top = QColor(240, 255, 246);
    }
    if (!enabled) {
        top = QColor(240, 240, 240);
        bottom = QColor(214, 214, 214);
        frame = QColor(160, 160, 160);
    }

    const QRectF box = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(box, 5, 5);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, fill);
    // A thin highlight along the top edge gives the raised look.
    if (!pressed && enabled) {
        painter.setPen(QPen(QColor(255, 255, 255, 200), 1));
        painter.drawLine(box.topLeft() + QPointF(5, 1.5), box.topRight() + QPointF(-5, 1.5));
    }
    painter.setPen(QPen(frame, 1.0));
    painter.drawPath(path);
    // The keyboard focus: a dark ring inside the frame, seen on every fill.
    if (option.state & QStyle::State_HasFocus) {
        QPainterPath ring;
        ring.addRoundedRect(box.adjusted(2.5, 2.5, -2.5, -2.5), 3, 3);
        painter.setPen(QPen(colors::FocusRing(), 2.0));
        painter.drawPath(ring);
    }
    painter.restore();
}

// Scroll bars: a light track with a darker handle, so the handle shows where the view is.
void DrawScrollBar(const QStyle& style, const QStyleOptionSlider& bar, QPainter& painter,
                   const QWidget* widget) {
    const bool horizontal = bar.orientation == Qt::Horizontal;
    const bool enabled = bar.state & QStyle::State_Enabled;
    const auto pressed = [&bar](QStyle::SubControl part) {
        return (bar.activeSubControls & part) && (bar.state & QStyle::State_Sunken);
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(bar.rect, colors::ScrollTrack());

    const QStyle::SubControl ends[2] = {QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine};
    const QStyle::PrimitiveElement arrows[2] = {
        horizontal ? QStyle::PE_IndicatorArrowLeft : QStyle::PE_IndicatorArrowUp,
        horizontal ? QStyle::PE_IndicatorArrowRight : QStyle::PE_IndicatorArrowDown};
    for (int i = 0; i < 2; ++i) {
        const QRect button = style.subControlRect(QStyle::CC_ScrollBar, &bar, ends[i], widget);
        if (!button.isValid())
            continue;
        painter.fillRect(
            button, pressed(ends[i]) ? colors::ScrollHandle() : colors::ScrollTrack().darker(108));
        QStyleOption arrow(bar);
        arrow.rect = button.adjusted(3, 3, -3, -3);
        arrow.state &= ~QStyle::State_Sunken;
        arrow.palette.setColor(QPalette::ButtonText,
                               enabled ? colors::DeepGreen() : QColor(150, 150, 150));
        style.drawPrimitive(arrows[i], &arrow, &painter, widget);
    }

    const QRect handle =
        style.subControlRect(QStyle::CC_ScrollBar, &bar, QStyle::SC_ScrollBarSlider, widget);
    if (enabled && handle.isValid() && bar.maximum > bar.minimum) {
        QColor fill = colors::ScrollHandle();
        if (pressed(QStyle::SC_ScrollBarSlider))
            fill = colors::DeepGreen();
        else if ((bar.state & QStyle::State_MouseOver) &&
                 (bar.activeSubControls & QStyle::SC_ScrollBarSlider))
            fill = fill.darker(115);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(handle).adjusted(2, 2, -2, -2), 3, 3);
    }
    painter.restore();
}

// The settings editors' tabs: the selected one joins the page, the one under the pointer
// lights up.
void DrawTab(const QStyleOption& option, QPainter& painter) {
    const bool selected = option.state & QStyle::State_Selected;
    const bool hover = (option.state & QStyle::State_MouseOver) && !selected;
    const QRectF box = QRectF(option.rect).adjusted(1.5, selected ? 0.5 : 2.5, -1.5, 0);
    QPainterPath path;
    path.addRoundedRect(box.adjusted(0, 0, 0, 6), 6, 6);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, selected ? QColor(255, 255, 255)
                         : hover  ? QColor(236, 250, 242)
                                  : QColor(226, 238, 231));
    fill.setColorAt(1.0, selected ? colors::PaleGreen()
                         : hover  ? colors::PaleGreen()
                                  : QColor(200, 214, 206));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(option.rect);
    painter.fillPath(path, fill);
    painter.setPen(QPen(selected || hover ? colors::AccentGreen() : QColor(150, 168, 158),
                        selected ? 1.5 : 1.0));
    painter.drawPath(path);
    painter.restore();
}

}  // namespace

SkinStyle::SkinStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void SkinStyle::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    if (qobject_cast<QTabBar*>(widget))
        widget->setAttribute(Qt::WA_Hover, true);
}

int SkinStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                           const QWidget* widget) const {
    // Half the usual space beside a tab's caption: the advanced editor's six tabs then fit
    // the window side by side instead of hiding behind scroll arrows.
    if (metric == PM_TabBarTabHSpace)
        return QProxyStyle::pixelMetric(metric, option, widget) / 2;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void SkinStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                              QPainter* painter, const QWidget* widget) const {
    if (element == PE_PanelButtonCommand && option && painter) {
        DrawButtonPanel(*option, *painter);
        return;
    }
    // The ring inside the frame already marks the focused button.
    if (element == PE_FrameFocusRect && qobject_cast<const QAbstractButton*>(widget) &&
        !qobject_cast<const QCheckBox*>(widget) && !qobject_cast<const QRadioButton*>(widget)) {
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void SkinStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
    if (element == CE_TabBarTabShape && option && painter) {
        DrawTab(*option, *painter);
        return;
    }
    if (element == CE_PushButtonLabel) {
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
            QStyleOptionButton copy(*button);
            const bool enabled = option->state & State_Enabled;
            const bool pressed = option->state & (State_Sunken | State_On);
            copy.palette.setColor(QPalette::ButtonText, !enabled ? QColor(130, 130, 130)
                                                        : pressed
                                                            ? QColor(255, 255, 255)
                                                            : colors::DeepGreen().darker(140));
            QProxyStyle::drawControl(element, &copy, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void SkinStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   QPainter* painter, const QWidget* widget) const {
    if (control == CC_ScrollBar && painter) {
        if (const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option)) {
            DrawScrollBar(*this, *bar, *painter, widget);
            return;
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void InstallSkin(QApplication& application) {
    application.setStyle(new SkinStyle);
}

}  // namespace ravelfin
