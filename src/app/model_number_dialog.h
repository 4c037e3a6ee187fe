#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace ravelfin {

class Messenger;

/// The prompt for a reader's model number when its interface cannot be told otherwise: a
/// white window with rounded corners and a black frame. It ends with "Continue" (accepted)
/// once the number is known, or with "Cancel" (rejected).
class ModelNumberDialog final : public QDialog {
    Q_OBJECT
  public:
    ModelNumberDialog(Messenger& messenger, QWidget* parent = nullptr);

    /// The interface type the accepted model number names (0 included).
    int InterfaceType() const { return interfaceType_; }
    QLineEdit* ModelEdit() const { return model_; }
    QPushButton* ContinueButton() const { return continue_; }
    QPushButton* CancelButton() const { return cancel_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void OnContinue();

    Messenger& messenger_;
    QLineEdit* model_;
    QPushButton* continue_;
    QPushButton* cancel_;
    int interfaceType_ = 0;
};

}  // namespace ravelfin
