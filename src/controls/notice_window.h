#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

namespace ravelfin {

/// The short-lived yellow notice: a small modeless popup, centred over its parent window,
/// with one word-wrapped text. Five seconds after it opened, or at once on a click or a key
/// press in it, it stops its timer and emits `Finished`; its owner then deletes it.
class NoticeWindow final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kLifetimeMilliseconds = 5000;

    explicit NoticeWindow(const QString& text, QWidget* parent = nullptr);

    QString Text() const { return text_; }
    /// The single-shot timer that ends the notice; it runs from the moment it is shown.
    QTimer& LifetimeTimer() { return lifetime_; }

  signals:
    /// Emitted once, when the notice has done its work.
    void Finished();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Finish();

    QString text_;
    QTimer lifetime_;
    bool finished_ = false;
};

}  // namespace ravelfin
