#pragma once
// What the hand-run tools share: the application set up as the program sets it up, its
// window on simulated readers, and a way to act on a dialog that runs its own event loop.

#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>

#include "app/main_window.h"
#include "app/qt_messenger.h"
#include "app/settings_dialogs.h"
#include "app/settings_editors.h"
#include "connection/connection.h"
#include "controls/config_file_chooser.h"
#include "controls/skin_style.h"
#include "sim/simulated_environment.h"

namespace ravelfin::tools {

/// Names the program, puts on its skin and keeps its preferences (and Qt's own, such as the
/// file dialog's history) in a folder of their own, away from the user's.
inline void PrepareApplication(QApplication& application) {
    static QTemporaryDir folder;
    InstallSkin(application);
    QApplication::setOrganizationName(QStringLiteral("Orvane-Ravelfin"));
    QApplication::setApplicationName(QStringLiteral("ravelfin-config-tools"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
}

/// Runs `action` on the next modal window once it shows; the action must close it. The poll
/// gives up after `polls` looks 5 ms apart (never when negative).
inline void OnNextModal(std::function<void(QWidget*)> action, int polls = 400) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, polls, action = std::move(action)]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && --polls != 0)
            return;
        poll->stop();
        poll->deleteLater();
        if (modal)
            action(modal);
    });
    poll->start(5);
}

/// The program's window, shown, on the readers of `machine`, as the program sets it up,
/// without the settings editors.
struct ShownWindow {
    explicit ShownWindow(ReaderEnvironment& machine) : connection(machine, messenger) {
        messenger.SetWindow(&window, [this](const QString& text) { window.ShowNotice(text); });
        messenger.SetReaderSelection([this] { window.ChooseAnotherReader(); });
        window.show();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    QtMessenger messenger;
    NoSettingsDialogs editors;
    Connection connection;
    MainWindow window{connection, messenger, editors};
};

/// Says nothing: the tools picture windows, not the messages a scene may raise.
class QuietMessenger final : public Messenger {
  public:
    void ShowMessage(const std::string&) override {}
    void ShowNotice(const std::string&) override {}
};

/// The program's window with its two real editors, shown, on simulated readers written as
/// --simulate takes them.
struct EditorDesk {
    explicit EditorDesk(std::initializer_list<const char*> readers) {
        std::string error;
        for (const char* optionText : readers) {
            if (!machine.AddReaderFromOptionText(optionText, error))
                std::fprintf(stderr, "%s\n", error.c_str());
        }
        window.show();
    }
    SimulatedEnvironment machine;
    QuietMessenger messenger;
    Connection connection{machine, messenger};
    QtConfigFileChooser files;
    SettingsEditors editors{connection, messenger, files};
    MainWindow window{connection, messenger, editors};
};

}  // namespace ravelfin::tools
