#pragma once

#include "app/settings_dialogs.h"
#include "controls/message_boxes.h"

namespace ravelfin {

class ConfigFileChooser;
class Connection;
class Messenger;

/// The program's settings editors, built on the connection the main window owns.
class SettingsEditors final : public SettingsDialogs {
  public:
    SettingsEditors(Connection& connection, Messenger& messenger, ConfigFileChooser& files);

    SettingsEditor* CreateBasic(QWidget* parent) override;
    SettingsEditor* CreateAdvanced(QWidget* parent) override;

    /// The standard message boxes of the editors' pages (the platform's unless replaced).
    void SetMessageBoxes(MessageBoxes& boxes) { boxes_ = &boxes; }

  private:
    Connection& connection_;
    Messenger& messenger_;
    ConfigFileChooser& files_;
    PlatformMessageBoxes platformBoxes_;
    MessageBoxes* boxes_ = &platformBoxes_;
};

}  // namespace ravelfin
