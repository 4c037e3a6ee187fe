#include "basic/basic_settings_dialog.h"

#include "basic/general_settings_page.h"
#include "basic/keyboard_settings_page.h"
#include "basic/pre_postamble_page.h"
#include "basic/track_settings_page.h"

namespace ravelfin {

BasicSettingsDialog::BasicSettingsDialog(Connection& connection, Messenger& messenger,
                                         ConfigFileChooser& files, QWidget* parent)
    : SettingsEditor(QStringLiteral("Change Basic Settings:"), Editor::kBasic, connection,
                     messenger, files, parent),
      general_(new GeneralSettingsPage(connection, messenger)),
      prePost_(new PrePostamblePage(connection, messenger)),
      track_(new TrackSettingsPage(connection, messenger)),
      keyboard_(new KeyboardSettingsPage(connection, messenger)) {
    AddPage(general_, QStringLiteral("General Settings"));
    AddPage(prePost_, QStringLiteral("Pre/Postamble"));
    AddPage(track_, QStringLiteral("Track Settings"));
    AddPage(keyboard_, QStringLiteral("Keyboard Settings"));
}

void BasicSettingsDialog::RefreshAllPages() {
    for (EditorPage* page :
         std::initializer_list<EditorPage*>{general_, prePost_, track_, keyboard_})
        page->Refresh();
}

}  // namespace ravelfin
