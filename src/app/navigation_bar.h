#pragma once

#include <QWidget>
#include <array>

class QPushButton;

namespace ravelfin {

/// The column of navigation buttons on the left of the main window, top to bottom.
class NavigationBar final : public QWidget {
    Q_OBJECT
  public:
    enum Button {
        kSelectInterface,
        kHowToUse,
        kCheckSettings,
        kChangeBasic,
        kChangeAdvanced,
        kHelp,
        kExit,
        kButtonCount
    };

    explicit NavigationBar(QWidget* parent = nullptr);

    QPushButton* At(Button button) const { return buttons_[button]; }

  signals:
    void Clicked(Button button);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    static QFont ButtonFont();

    std::array<QPushButton*, kButtonCount> buttons_{};
};

}  // namespace ravelfin
