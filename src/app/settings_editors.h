#pragma once

#include "app/settings_dialogs.h"

namespace ravelfin {

class ConfigFileChooser;
class Connection;
class Messenger;

/// The program's settings editors, built on the connection the main window owns. A reader
/// reset that an editor asks for goes to the main window's `ReopenReader` once the editor's
/// flow has returned.
class SettingsEditors final : public SettingsDialogs {
  public:
    SettingsEditors(Connection& connection, Messenger& messenger, ConfigFileChooser& files);

    QDialog* CreateBasic(QWidget* parent) override;
    QDialog* CreateAdvanced(QWidget* parent) override;
    void ReaderReopened(QDialog& editor) override;

  private:
    Connection& connection_;
    Messenger& messenger_;
    ConfigFileChooser& files_;
};

}  // namespace ravelfin
