#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

class QPushButton;

namespace ravelfin {

/// A page inside a window (an editor, a tab of one): a plain widget on the common solid
/// background. Being no dialog, Enter and Escape do not end it; they mean to a page only what
/// its controls make of them.
class SkinnedPage : public QWidget {
    Q_OBJECT
  public:
    explicit SkinnedPage(QWidget* parent = nullptr);

    /// The button that Enter presses when the control with the focus leaves Enter unused.
    void SetDefaultButton(QPushButton* button);

  protected:
    void paintEvent(QPaintEvent* event) override;
    /// Ctrl+Tab and Ctrl+Shift+Tab turn the page's own tab set from anywhere on the page,
    /// also from the buttons under it, which are no part of it. Enter presses the default
    /// button.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QColor background_;
    QPointer<QPushButton> defaultButton_;
};

}  // namespace ravelfin
