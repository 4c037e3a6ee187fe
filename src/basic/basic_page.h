#pragma once

#include "controls/skinned_dialog.h"

class QPushButton;

namespace ravelfin {

class Connection;
class Messenger;
class ReaderSettings;

/// A page of the basic settings editor. It edits the connection's settings record in place:
/// every click or keystroke is stored at once. It reads the record from the connection each
/// time, so a page never holds on to a record that a reconnection has replaced.
class BasicPage : public SkinnedDialog {
    Q_OBJECT
  public:
    /// The page's "Help" opens topic `helpContext`; `helpOwned` says whether the help
    /// window belongs to the page's window.
    BasicPage(Connection& connection, Messenger& messenger, int helpContext, bool helpOwned,
              QWidget* parent);

    /// Loads every control from the record and applies the enabling rules that follow it.
    virtual void Refresh() = 0;

    QPushButton* DefaultPageButton() const { return defaultPage_; }
    QPushButton* HelpButton() const { return help_; }

  protected:
    /// The record being edited, or null while there is none.
    ReaderSettings* Record() const;
    Messenger& Messages() const { return messenger_; }
    /// "Default Page": restores the page's default group and shows it.
    virtual void RestorePageDefaults() = 0;
    /// The row of "Default Page" and "Help" that ends every page.
    QLayout* TakeButtonRow();

    /// Escape closes nothing: a page goes only with its editor.
    void reject() override {}

  private:
    Connection& connection_;
    Messenger& messenger_;
    QPushButton* defaultPage_;
    QPushButton* help_;
};

}  // namespace ravelfin
