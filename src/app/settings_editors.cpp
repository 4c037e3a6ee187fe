#include "app/settings_editors.h"

#include "advanced/advanced_settings_dialog.h"
#include "basic/basic_settings_dialog.h"

namespace ravelfin {

SettingsEditors::SettingsEditors(Connection& connection, Messenger& messenger,
                                 ConfigFileChooser& files)
    : connection_(connection), messenger_(messenger), files_(files) {}

SettingsEditor* SettingsEditors::CreateBasic(QWidget* parent) {
    auto* editor = new BasicSettingsDialog(connection_, messenger_, files_, parent);
    editor->RefreshAllPages();
    return editor;
}

SettingsEditor* SettingsEditors::CreateAdvanced(QWidget* parent) {
    auto* editor = new AdvancedSettingsDialog(
        AdvancedEditorServices{connection_, messenger_, *boxes_, files_}, parent);
    editor->RefreshAllPages();
    return editor;
}

}  // namespace ravelfin
