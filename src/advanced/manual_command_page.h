#pragma once

#include <functional>

#include "controls/skinned_page.h"
#include "flows/manual_command.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace ravelfin {

class Connection;

/// The "Manual Command" tab: one raw command typed in the escape notation ("\x2\x52\x22\x3",
/// without its LRC) goes to the connection's reader, and a running log shows what went out
/// and what came back. After an accepted set command the connection's record is read again
/// and the open editors are refreshed.
class ManualCommandPage final : public SkinnedPage {
    Q_OBJECT
  public:
    /// `refreshEditors` reloads the pages of the open settings editors from the record.
    ManualCommandPage(Connection& connection, Messenger& messages,
                      std::function<void()> refreshEditors, QWidget* parent = nullptr);

    /// "Send Command".
    void SendManualCommand();
    /// "Clr S/R Data".
    void ClearLog();
    /// Enables "Send Command" when the connection has a transport; called when the
    /// connection was replaced.
    void UpdateSendButton();

    QLineEdit* CommandBox() const { return command_; }
    QPlainTextEdit* ResponseBox() const { return response_; }
    QPushButton* SendButton() const { return send_; }
    QPushButton* ClearButton() const { return clear_; }
    /// The log as the flow keeps it, with its "\r\n" line ends.
    const std::string& LogText() const { return log_.Log(); }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ShowLog();

    Connection& connection_;
    Messenger& messages_;
    std::function<void()> refreshEditors_;
    ManualCommand log_;
    QLineEdit* command_;
    QPlainTextEdit* response_;
    QPushButton* send_;
    QPushButton* clear_;
};

}  // namespace ravelfin
