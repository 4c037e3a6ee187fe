#include "app/artwork.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include "controls/colors.h"

namespace ravelfin {

namespace {

// Largest rectangle of aspect `ratio` (width / height) centred in `area`.
QRectF Fit(const QRectF& area, double ratio) {
    QSizeF size(area.width(), area.width() / ratio);
    if (size.height() > area.height())
        size = QSizeF(area.height() * ratio, area.height());
    QRectF box(QPointF(), size);
    box.moveCenter(area.center());
    return box;
}

void DrawCard(QPainter& painter, const QRectF& card, bool withText) {
    const double r = card.height() * 0.08;
    QLinearGradient face(card.topLeft(), card.bottomRight());
    face.setColorAt(0.0, QColor(74, 144, 226));
    face.setColorAt(1.0, QColor(24, 70, 150));
    QPainterPath outline;
    outline.addRoundedRect(card, r, r);
    painter.fillPath(outline, face);
    // The magnetic stripe runs along the top of the back of the card.
    const QRectF stripe(card.left(), card.top() + card.height() * 0.14, card.width(),
                        card.height() * 0.2);
    painter.save();
    painter.setClipPath(outline);
    painter.fillRect(stripe, QColor(25, 25, 25));
    painter.restore();
    if (withText) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 170));
        const double h = card.height() * 0.07;
        for (int line = 0; line < 3; ++line) {
            const double y = card.top() + card.height() * (0.55 + line * 0.13);
            const double w = card.width() * (line == 0 ? 0.62 : 0.4);
            painter.drawRoundedRect(QRectF(card.left() + card.width() * 0.08, y, w, h), h / 2,
                                    h / 2);
        }
    }
    painter.setPen(QPen(QColor(10, 40, 90), std::max(1.0, card.height() * 0.012)));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
}

}  // namespace

void DrawLogo(QPainter& painter, const QRectF& area) {
    const QRectF tile = Fit(area, 1.0);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0.0, colors::AccentGreen().lighter(115));
    fill.setColorAt(1.0, colors::DeepGreen());
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(tile, tile.width() * 0.22, tile.width() * 0.22);

    // A card tilted as it goes through the reader.
    painter.translate(tile.center());
    painter.rotate(-18);
    const double w = tile.width() * 0.66;
    const QRectF card(-w / 2, -w * 0.63 / 2, w, w * 0.63);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRoundedRect(card, w * 0.07, w * 0.07);
    painter.setBrush(QColor(28, 40, 36));
    painter.drawRect(
        QRectF(card.left(), card.top() + card.height() * 0.16, card.width(), card.height() * 0.22));
    painter.setBrush(colors::AccentGreen());
    painter.drawRoundedRect(QRectF(card.left() + w * 0.1, card.top() + card.height() * 0.58,
                                   w * 0.42, card.height() * 0.12),
                            3, 3);
    painter.restore();
}

void DrawReaderPicture(QPainter& painter, const QRectF& area) {
    const QRectF box = Fit(area, 1.45);
    const double u = box.width() / 100.0;  // one unit of the drawing
    const auto at = [&](double x, double y) {
        return QPointF(box.left() + x * u, box.top() + y * u);
    };
    const auto rect = [&](double x, double y, double w, double h) {
        return QRectF(at(x, y), QSizeF(w * u, h * u));
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    // Shadow on the desk.
    QRadialGradient shadow(at(52, 62), 46 * u);
    shadow.setColorAt(0.0, QColor(0, 0, 0, 70));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(QRectF(at(8, 54), QSizeF(88 * u, 16 * u)));

    // Cable from the back of the reader, ending in a USB plug.
    QPainterPath cable(at(88, 50));
    cable.cubicTo(at(104, 48), at(100, 30), at(90, 24));
    cable.cubicTo(at(82, 19), at(86, 8), at(94, 6));
    painter.setPen(QPen(QColor(60, 60, 60), 2.4 * u, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(cable);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 70, 70));
    painter.save();
    painter.translate(at(94, 6));
    painter.rotate(-20);
    painter.drawRoundedRect(QRectF(-2 * u, -3.5 * u, 7 * u, 7 * u), u, u);
    painter.setBrush(QColor(200, 200, 205));
    painter.drawRect(QRectF(5 * u, -2.5 * u, 4 * u, 5 * u));
    painter.restore();

    // The card, half way through the slot: drawn first so the reader's front covers it.
    painter.save();
    painter.translate(at(46, 22));
    painter.rotate(-4);
    DrawCard(painter, QRectF(-26 * u, -18 * u, 52 * u, 33 * u), true);
    painter.restore();

    // The reader body: a long low block with a slot along its top.
    QPainterPath body;
    body.moveTo(at(6, 40));
    body.lineTo(at(90, 40));
    body.quadTo(at(96, 40), at(96, 46));
    body.lineTo(at(96, 58));
    body.quadTo(at(96, 64), at(90, 64));
    body.lineTo(at(10, 64));
    body.quadTo(at(4, 64), at(4, 58));
    body.lineTo(at(4, 44));
    body.quadTo(at(4, 40), at(6, 40));
    QLinearGradient metal(at(0, 36), at(0, 64));
    metal.setColorAt(0.0, QColor(96, 102, 110));
    metal.setColorAt(0.45, QColor(58, 62, 68));
    metal.setColorAt(1.0, QColor(30, 32, 36));
    painter.setBrush(metal);
    painter.setPen(QPen(QColor(20, 20, 22), 0.6 * u));
    painter.drawPath(body);
    // The rear wall that the slot cuts through.
    painter.setBrush(QColor(44, 47, 52));
    painter.drawRoundedRect(rect(6, 33, 88, 8), 2 * u, 2 * u);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(12, 12, 14));
    painter.drawRect(rect(8, 39, 84, 1.8));
    // A green stripe and the status lamp, lit.
    painter.setBrush(colors::AccentGreen());
    painter.drawRect(rect(4, 50, 92, 1.6));
    QRadialGradient lamp(at(84, 57), 4 * u);
    lamp.setColorAt(0.0, QColor(200, 255, 200));
    lamp.setColorAt(0.4, QColor(60, 220, 90));
    lamp.setColorAt(1.0, QColor(60, 220, 90, 0));
    painter.setBrush(lamp);
    painter.drawEllipse(at(84, 57), 4 * u, 4 * u);
    // The name plate.
    // On a small picture the name would be too small to read: the plate stays plain.
    const QRectF plate = rect(10, 53, 50, 8);
    const QString name = QStringLiteral("RAVELFIN");
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, static_cast<int>(4.2 * u)));
    font.setBold(true);
    font.setLetterSpacing(QFont::PercentageSpacing, 130);
    if (font.pixelSize() >= 6 && QFontMetricsF(font).horizontalAdvance(name) <= plate.width()) {
        painter.setFont(font);
        painter.setPen(QColor(220, 226, 230));
        painter.drawText(plate, Qt::AlignLeft | Qt::AlignVCenter, name);
    }
    painter.restore();
}

void DrawHostPicture(QPainter& painter, const QRectF& area) {
    const QRectF box = Fit(area, 1.15);
    const double u = box.width() / 100.0;
    const auto rect = [&](double x, double y, double w, double h) {
        return QRectF(box.left() + x * u, box.top() + y * u, w * u, h * u);
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 44, 50), 0.8 * u));
    // Stand and foot.
    painter.setBrush(QColor(120, 126, 134));
    painter.drawRect(rect(44, 62, 12, 14));
    painter.drawRoundedRect(rect(28, 74, 44, 6), 2 * u, 2 * u);
    // Monitor.
    painter.setBrush(QColor(52, 56, 62));
    painter.drawRoundedRect(rect(4, 4, 92, 62), 4 * u, 4 * u);
    QLinearGradient screen(rect(9, 9, 82, 50).topLeft(), rect(9, 9, 82, 50).bottomRight());
    screen.setColorAt(0.0, QColor(226, 244, 233));
    screen.setColorAt(1.0, colors::PaleGreen().darker(110));
    painter.setBrush(screen);
    painter.drawRect(rect(9, 9, 82, 50));
    // A window with rows of settings on the screen.
    painter.setPen(Qt::NoPen);
    painter.setBrush(colors::DeepGreen());
    painter.drawRect(rect(14, 14, 72, 6));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRect(rect(14, 20, 72, 34));
    painter.setBrush(colors::AccentGreen());
    for (int row = 0; row < 5; ++row) {
        painter.drawRect(rect(18, 24 + row * 6, 22 + (row % 3) * 8, 2.6));
        painter.drawRect(rect(62, 24 + row * 6, 18, 2.6));
    }
    // Keyboard.
    painter.setPen(QPen(QColor(40, 44, 50), 0.8 * u));
    painter.setBrush(QColor(210, 214, 220));
    painter.drawRoundedRect(rect(8, 82, 84, 12), 2 * u, 2 * u);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(150, 156, 164));
    for (int row = 0; row < 2; ++row) {
        for (int key = 0; key < 14; ++key) {
            painter.drawRect(rect(11 + key * 5.7, 84.5 + row * 4.4, 4.4, 3.2));
        }
    }
    painter.restore();
}

void DrawConnector(QPainter& painter, const QRectF& area, Connector kind, bool active) {
    const QRectF box = Fit(area, 1.0);
    const double u = box.width() / 100.0;
    const QPointF c = box.center();
    const QColor metal = active ? QColor(70, 76, 84) : QColor(160, 160, 160);
    const QColor pin = active ? QColor(230, 200, 90) : QColor(205, 205, 205);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(active ? QColor(20, 20, 20) : QColor(130, 130, 130), 1.5 * u));
    switch (kind) {
        case Connector::kPs2: {
            painter.setBrush(active ? QColor(136, 84, 170) : QColor(190, 190, 190));
            painter.drawEllipse(c, 40 * u, 40 * u);
            painter.setBrush(QColor(30, 30, 30));
            painter.drawEllipse(c, 30 * u, 30 * u);
            painter.setPen(Qt::NoPen);
            painter.setBrush(pin);
            const double pins[6][2] = {{-16, -6}, {16, -6}, {-20, 10}, {20, 10}, {-7, 20}, {7, 20}};
            for (const auto& p : pins)
                painter.drawEllipse(c + QPointF(p[0] * u, p[1] * u), 3.5 * u, 3.5 * u);
            painter.setBrush(metal);
            painter.drawRect(QRectF(c.x() - 5 * u, c.y() - 24 * u, 10 * u, 9 * u));
            break;
        }
        case Connector::kRs232: {
            QPainterPath shell;
            shell.moveTo(c + QPointF(-44 * u, -22 * u));
            shell.lineTo(c + QPointF(44 * u, -22 * u));
            shell.lineTo(c + QPointF(34 * u, 22 * u));
            shell.lineTo(c + QPointF(-34 * u, 22 * u));
            shell.closeSubpath();
            painter.setBrush(active ? QColor(40, 90, 170) : QColor(190, 190, 190));
            painter.drawPath(shell);
            painter.setPen(Qt::NoPen);
            painter.setBrush(pin);
            for (int i = 0; i < 5; ++i)
                painter.drawEllipse(c + QPointF((-28 + i * 14) * u, -8 * u), 4 * u, 4 * u);
            for (int i = 0; i < 4; ++i)
                painter.drawEllipse(c + QPointF((-21 + i * 14) * u, 9 * u), 4 * u, 4 * u);
            break;
        }
        case Connector::kUsb: {
            painter.setBrush(metal);
            painter.drawRoundedRect(QRectF(c.x() - 26 * u, c.y() - 6 * u, 52 * u, 50 * u), 6 * u,
                                    6 * u);
            painter.setBrush(active ? QColor(215, 220, 226) : QColor(220, 220, 220));
            painter.drawRect(QRectF(c.x() - 20 * u, c.y() - 44 * u, 40 * u, 40 * u));
            painter.setPen(Qt::NoPen);
            painter.setBrush(active ? QColor(40, 40, 44) : QColor(170, 170, 170));
            painter.drawRect(QRectF(c.x() - 11 * u, c.y() - 34 * u, 8 * u, 8 * u));
            painter.drawRect(QRectF(c.x() + 3 * u, c.y() - 34 * u, 8 * u, 8 * u));
            // The USB trident on the plug body.
            painter.setPen(QPen(active ? QColor(255, 255, 255) : QColor(235, 235, 235), 3 * u,
                                Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(c + QPointF(0, 36 * u), c + QPointF(0, 4 * u));
            painter.drawLine(c + QPointF(0, 26 * u), c + QPointF(-10 * u, 16 * u));
            painter.drawLine(c + QPointF(0, 22 * u), c + QPointF(10 * u, 12 * u));
            break;
        }
    }
    painter.restore();
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        DrawLogo(painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace ravelfin
