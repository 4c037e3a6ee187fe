#include "app/settings_editors.h"

#include "app/main_window.h"
#include "basic/basic_settings_dialog.h"

namespace ravelfin {

SettingsEditors::SettingsEditors(Connection& connection, Messenger& messenger,
                                 ConfigFileChooser& files)
    : connection_(connection), messenger_(messenger), files_(files) {}

QDialog* SettingsEditors::CreateBasic(QWidget* parent) {
    auto* editor = new BasicSettingsDialog(connection_, messenger_, files_, parent);
    if (auto* window = qobject_cast<MainWindow*>(parent)) {
        QObject::connect(editor, &BasicSettingsDialog::ReopenRequested, window,
                         &MainWindow::ReopenReader, Qt::QueuedConnection);
    }
    editor->RefreshAllPages();
    return editor;
}

QDialog* SettingsEditors::CreateAdvanced(QWidget* /*parent*/) {
    return nullptr;
}

void SettingsEditors::ReaderReopened(QDialog& editor) {
    if (auto* basic = qobject_cast<BasicSettingsDialog*>(&editor))
        basic->ReaderReopened();
}

}  // namespace ravelfin
