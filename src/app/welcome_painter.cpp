#include "app/welcome_painter.h"

#include <QPainter>

#include "app/artwork.h"
#include "controls/colors.h"
#include "controls/text_fit.h"

namespace ravelfin {

namespace {

constexpr char kTitle[] = "Orvane Ravelfin Configuration Utility";
constexpr char kWelcome[] =
    "    Orvane readers come with default settings made at the factory. These settings are "
    "suitable for most applications and do not need to be changed. However, if you need to "
    "change something basic (like beep volume) or something more advanced (like a data "
    "editing routine), this utility will help you do it easily and quickly. Start by clicking "
    "on one of the tabs on the left side of this page.";

QFont TitleFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(25);
    font.setWeight(QFont::Black);
    font.setItalic(true);
    return font;
}

QFont WelcomeFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    font.setWeight(QFont::Black);
    font.setItalic(true);
    return font;
}

constexpr int kWelcomeFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

}  // namespace

QString WelcomeText() {
    return QString::fromLatin1(kWelcome).trimmed();
}

QFont WelcomeTextFont(const QRect& area) {
    return FitFont(WelcomeFont(), area, kWelcomeFlags, QString::fromLatin1(kWelcome));
}

QRect WelcomeTextArea(const QSize& window, const QRect& content) {
    const int top = static_cast<int>(window.height() * 0.83);
    // Ends clear of the panel's border, whatever the font.
    return QRect(content.left(), top, window.width() - 20 - content.left(),
                 window.height() - 4 - top);
}

void PaintWelcomePage(QPainter& painter, const QSize& window, const QRect& content) {
    const int w = window.width();
    const int h = window.height();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // The panel behind the buttons and pages.
    const QRect panel(w / 10, h / 6, w - w / 10, h - h / 6);
    painter.fillRect(panel, colors::PaleGreen());
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(panel.adjusted(0, 0, -1, -1));

    // Logo, rule and title.
    const int logoSize = std::max(24, h / 6 - h / 50 - 18);
    const QRect logo(w / 10, h / 50, logoSize, logoSize);
    DrawLogo(painter, QRectF(logo));
    const int ruleY = logo.bottom() + 8;
    painter.setPen(QPen(colors::AccentGreen(), 2));
    painter.drawLine(QPoint(w / 10, ruleY), QPoint(w * 2 / 3, ruleY));
    const QRect title(logo.right() + 14, logo.top(), w - logo.right() - 22, logo.height());
    painter.setFont(
        FitFont(TitleFont(), title, Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(kTitle)));
    painter.setPen(colors::DeepGreen());
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(kTitle));

    // The reader, in the content area only, at most 60 % of the height tall.
    const QRectF picture(w * 0.30, h * 0.22, std::min(w * 0.62, content.right() - w * 0.30),
                         std::min(h * 0.6, h * 0.83 - h * 0.22 - 8));
    DrawReaderPicture(painter, picture);

    const QRect text = WelcomeTextArea(window, content);
    painter.setFont(WelcomeTextFont(text));
    painter.setPen(QColor(20, 20, 20));
    painter.drawText(text, kWelcomeFlags, QString::fromLatin1(kWelcome));
    painter.restore();
}

}  // namespace ravelfin
