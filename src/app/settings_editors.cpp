#include "app/settings_editors.h"

#include <QPushButton>
#include <QTabWidget>

#include "advanced/advanced_settings_dialog.h"
#include "app/main_window.h"
#include "app/send_gate.h"
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
        QObject::connect(editor, &BasicSettingsDialog::SettingsReread, window, [window] {
            if (auto* advanced = qobject_cast<AdvancedSettingsDialog*>(window->AdvancedDialog()))
                advanced->RefreshAllPages();
        });
        auto* gate = new SendGate({editor->Button(BasicSettingsDialog::kSend),
                                   editor->Button(BasicSettingsDialog::kDefaultAll)},
                                  editor);
        QObject::connect(window, &MainWindow::ReaderPresenceChanged, gate,
                         &SendGate::SetReaderPresent);
    }
    editor->RefreshAllPages();
    return editor;
}

QDialog* SettingsEditors::CreateAdvanced(QWidget* parent) {
    AdvancedEditorServices services{connection_, messenger_, *boxes_, files_, {}};
    auto* window = qobject_cast<MainWindow*>(parent);
    if (window) {
        services.RefreshBasicEditor = [window] {
            if (auto* basic = qobject_cast<BasicSettingsDialog*>(window->BasicDialog()))
                basic->RefreshAllPages();
        };
    }
    auto* editor = new AdvancedSettingsDialog(services, parent);
    if (window) {
        QObject::connect(editor, &AdvancedSettingsDialog::ReaderResetting, window,
                         &MainWindow::ReopenReader, Qt::QueuedConnection);
        auto* gate = new SendGate({editor->SendButton(), editor->DefaultButton()}, editor);
        QObject::connect(window, &MainWindow::ReaderPresenceChanged, gate,
                         &SendGate::SetReaderPresent);
        // Connected after the editor's own handler, which switches the buttons by tab.
        QObject::connect(editor->Tabs(), &QTabWidget::currentChanged, gate, &SendGate::Reapply);
    }
    editor->RefreshAllPages();
    return editor;
}

void SettingsEditors::ReaderReopened(QDialog& editor) {
    if (auto* basic = qobject_cast<BasicSettingsDialog*>(&editor))
        basic->ReaderReopened();
    if (auto* advanced = qobject_cast<AdvancedSettingsDialog*>(&editor))
        advanced->ReaderReopened();
}

}  // namespace ravelfin
