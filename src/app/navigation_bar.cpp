#include "app/navigation_bar.h"

#include <QPushButton>

namespace ravelfin {

NavigationBar::NavigationBar(QWidget* parent) : QWidget(parent) {
    const char* captions[kButtonCount] = {"SELECT READER\nINTERFACE",
                                          "HOW TO USE\nTHIS UTILITY",
                                          "CHECK CURRENT\nREADER SETTINGS",
                                          "CHANGE BASIC\nREADER SETTINGS",
                                          "CHANGE ADVANCED\nREADER SETTINGS",
                                          "HELP",
                                          "EXIT"};
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(captions[i]), this);
        button->setFont(font);
        button->setAutoDefault(false);
        const auto which = static_cast<Button>(i);
        connect(button, &QPushButton::clicked, this, [this, which] { emit Clicked(which); });
        buttons_[static_cast<std::size_t>(i)] = button;
    }
}

void NavigationBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int gap = 12;
    const int height = std::min(58, (this->height() - gap * (kButtonCount - 1)) / kButtonCount);
    for (int i = 0; i < kButtonCount; ++i) {
        buttons_[static_cast<std::size_t>(i)]->setGeometry(0, i * (height + gap), width(), height);
    }
}

}  // namespace ravelfin
