#pragma once

#include "controls/skinned_page.h"

class QLineEdit;
class QPushButton;

namespace ravelfin {

class Connection;
class Messenger;

/// The "Set Boot Loader Mode" tab of readers below firmware 4.0: after the password and a
/// warning that defaults to "No", it switches the connection's reader into the mode in which
/// its firmware can be updated. The password refusal and the warning are the platform's
/// standard message boxes; the outcome goes to the messenger.
class BootLoaderPage final : public SkinnedPage {
    Q_OBJECT
  public:
    BootLoaderPage(Connection& connection, Messenger& messages, QWidget* parent = nullptr);

    /// "Set Boot Loader Mode". A wrong password sends nothing and stays in the box; a right
    /// one is cleared before the warning.
    void SetBootLoaderMode();

    QLineEdit* PasswordBox() const { return password_; }
    QPushButton* SetButton() const { return set_; }

  private:
    Connection& connection_;
    Messenger& messages_;
    QLineEdit* password_;
    QPushButton* set_;
};

}  // namespace ravelfin
