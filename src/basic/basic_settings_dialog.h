#pragma once

#include "editor/settings_editor.h"

namespace ravelfin {

class GeneralSettingsPage;
class KeyboardSettingsPage;
class PrePostamblePage;
class TrackSettingsPage;

/// "Change Basic Settings:": four tabs of pages that edit the connection's settings record
/// in place, above the editor's five buttons.
class BasicSettingsDialog final : public SettingsEditor {
    Q_OBJECT
  public:
    BasicSettingsDialog(Connection& connection, Messenger& messenger, ConfigFileChooser& files,
                        QWidget* parent = nullptr);

    /// Reloads every page from the record, in tab order.
    void RefreshAllPages() override;

    GeneralSettingsPage* GeneralPage() const { return general_; }
    PrePostamblePage* PrePostPage() const { return prePost_; }
    TrackSettingsPage* TrackPage() const { return track_; }
    KeyboardSettingsPage* KeyboardPage() const { return keyboard_; }

  private:
    GeneralSettingsPage* general_;
    PrePostamblePage* prePost_;
    TrackSettingsPage* track_;
    KeyboardSettingsPage* keyboard_;
};

}  // namespace ravelfin
