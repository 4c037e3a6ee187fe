#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace ravelfin {

/// Lets a window without caption bar be moved by pressing the left button anywhere on its
/// own surface (not on its child controls) and dragging.
class WindowDragger final : public QObject {
    Q_OBJECT
  public:
    explicit WindowDragger(QWidget& window);

    bool IsMoving() const { return moving_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    bool moving_ = false;
    bool followPointer_ = false;
    QPoint grabOffset_;
};

}  // namespace ravelfin
