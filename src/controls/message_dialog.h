#pragma once

#include <QString>
#include <QTimer>

#include "controls/skinned_dialog.h"

class QLabel;
class QPushButton;

namespace ravelfin {

/// The untitled modal message box with one centred text and "OK". It closes by itself ten
/// seconds after it opened, as if "OK" had been pressed.
class MessageDialog final : public SkinnedDialog {
    Q_OBJECT
  public:
    static constexpr int kAutoCloseMilliseconds = 10000;

    explicit MessageDialog(const QString& text, QWidget* parent = nullptr);

    QString Text() const;
    /// The single-shot timer that closes the box; it runs from the moment the box is shown.
    QTimer& AutoCloseTimer() { return autoClose_; }
    QPushButton* OkButton() const { return ok_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QLabel* label_;
    QPushButton* ok_;
    QTimer autoClose_;
};

/// Shows `text` in a MessageDialog over `parent` and returns when it has closed.
void RunMessageDialog(QWidget* parent, const QString& text);

}  // namespace ravelfin
