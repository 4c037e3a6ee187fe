#include "app/navigation_bar.h"

#include <QPushButton>

#include "controls/text_fit.h"

namespace ravelfin {

NavigationBar::NavigationBar(QWidget* parent) : QWidget(parent) {
    // Two-line captions; the letter after '&' is the button's Alt key.
    const char* captions[kButtonCount] = {"&SELECT READER\nINTERFACE",
                                          "&HOW TO USE\nTHIS UTILITY",
                                          "&CHECK CURRENT\nREADER SETTINGS",
                                          "CHANGE &BASIC\nREADER SETTINGS",
                                          "CHANGE &ADVANCED\nREADER SETTINGS",
                                          "H&ELP",
                                          "E&XIT"};
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(captions[i]), this);
        button->setFont(ButtonFont());
        // Read out as one line, without the Alt-key marker.
        button->setAccessibleName(
            button->text().remove(QLatin1Char('&')).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        button->setAutoDefault(false);
        const auto which = static_cast<Button>(i);
        connect(button, &QPushButton::clicked, this, [this, which] { emit Clicked(which); });
        buttons_[static_cast<std::size_t>(i)] = button;
    }
}

QFont NavigationBar::ButtonFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    return font;
}

void NavigationBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int gap = std::min(12, height() / (4 * kButtonCount));
    const int height = std::min(58, (this->height() - gap * (kButtonCount - 1)) / kButtonCount);
    // One font for all, small enough for the longest caption to fit inside the frame.
    QFont font = ButtonFont();
    const QRect inside(0, 0, width() - 12, height - 6);
    for (QPushButton* button : buttons_) {
        font = FitFont(font, inside, Qt::AlignCenter, button->text().remove(QLatin1Char('&')));
    }
    for (int i = 0; i < kButtonCount; ++i) {
        QPushButton* button = buttons_[static_cast<std::size_t>(i)];
        button->setFont(font);
        button->setGeometry(0, i * (height + gap), width(), height);
    }
}

}  // namespace ravelfin
