#pragma once

#include "editor/editor_page.h"

class QLayout;
class QPushButton;

namespace ravelfin {

class Messenger;

/// A page of the basic settings editor: every click or keystroke is stored in the record at
/// once. It ends with the row of "Default Page" and "Help".
class BasicPage : public EditorPage {
    Q_OBJECT
  public:
    /// The page's "Help" opens topic `helpContext`; `helpOwned` says whether the help
    /// window belongs to the page's window.
    BasicPage(Connection& connection, Messenger& messenger, int helpContext, bool helpOwned,
              QWidget* parent);

    QPushButton* DefaultPageButton() const { return defaultPage_; }
    QPushButton* HelpButton() const { return help_; }

  protected:
    Messenger& Messages() const { return messenger_; }
    /// "Default Page": restores the page's default group in `record`.
    virtual void RestorePageDefaults(ReaderSettings& record) = 0;
    /// The row of "Default Page" and "Help" that ends every page.
    QLayout* TakeButtonRow();

  private:
    Messenger& messenger_;
    QPushButton* defaultPage_;
    QPushButton* help_;
};

}  // namespace ravelfin
