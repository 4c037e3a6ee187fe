#pragma once

#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <initializer_list>
#include <string>
#include <utility>

#include "app/main_window.h"
#include "app/qt_messenger.h"
#include "app/settings_dialogs.h"
#include "app/settings_editors.h"
#include "connection/connection.h"
#include "controls/config_file_chooser.h"
#include "controls/message_boxes.h"
#include "controls/skin_style.h"
#include "editor/settings_editor.h"
#include "sim/simulated_environment.h"

namespace ravelfin::testing {

using Strings = std::vector<std::string>;

/// Makes `Class` runnable as `test_app <file name stem>`.
using GuiTestFactory = std::function<std::unique_ptr<QObject>()>;
bool RegisterGuiTest(const char* sourceFile, GuiTestFactory factory);
#define RAVELFIN_GUI_TEST(Class)                                                        \
    static const bool ravelfinRegistered##Class = ::ravelfin::testing::RegisterGuiTest( \
        __FILE__, [] { return std::unique_ptr<QObject>(new Class); })

/// Names the program, puts on its skin and keeps its preferences in a folder of their own,
/// away from the user's.
inline void PrepareApplication(QApplication& application) {
    static QTemporaryDir folder;
    InstallSkin(application);
    QApplication::setOrganizationName(QStringLiteral("Orvane-Ravelfin"));
    QApplication::setApplicationName(QStringLiteral("ravelfin-config-tests"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    // Qt's own settings, such as the file dialog's history (QtProject.conf), go there too.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
}

/// Runs `action` on the next modal window of type T once it shows (the way to answer a dialog
/// that runs its own event loop); the action must close it. The poll gives up after `polls`
/// looks 5 ms apart (never when negative); the caller may delete it sooner.
template <typename T>
QPointer<QTimer> OnNextModalOf(std::function<void(T*)> action, int polls = 400) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, polls, action = std::move(action)]() mutable {
        T* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!modal && --polls != 0)
            return;
        poll->stop();
        poll->deleteLater();
        if (modal)
            action(modal);
    });
    poll->start(5);
    return poll;
}

/// The same for whatever modal window shows next.
inline QPointer<QTimer> OnNextModal(std::function<void(QWidget*)> action, int polls = 400) {
    return OnNextModalOf<QWidget>(std::move(action), polls);
}

/// Fires a timer's timeout at once, as if its time had passed.
inline void FireTimer(QTimer& timer) {
    timer.stop();
    QMetaObject::invokeMethod(&timer, "timeout");
}

/// Keeps every message and notice instead of showing it.
class RecordingMessenger final : public Messenger {
  public:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void ShowNotice(const std::string& text) override { Notices.push_back(text); }
    void Clear() { Messages.clear(), Notices.clear(); }
    Strings Messages;
    Strings Notices;
};

/// Keeps every standard message box instead of showing it, as "caption|text" (the
/// information box has no caption of its own: "|text"), and answers questions from a queue
/// (No when it is empty).
class RecordingBoxes final : public MessageBoxes {
  public:
    void Warning(QWidget* /*owner*/, const QString& title, const QString& text) override {
        Shown.push_back((title + u'|' + text).toStdString());
    }
    void Information(QWidget* /*owner*/, const QString& text) override {
        Shown.push_back((u'|' + text).toStdString());
    }
    bool AskYesNo(QWidget* /*owner*/, const QString& title, const QString& text) override {
        Shown.push_back((title + u'|' + text).toStdString());
        if (Answers.empty())
            return false;
        const bool yes = Answers.front();
        Answers.pop_front();
        return yes;
    }
    std::vector<std::string> Shown;
    std::deque<bool> Answers;
};

/// Answers the editors' file questions with the paths a test queued; an empty path (or an
/// empty queue) is a cancel. Counts the questions asked.
class ScriptedFileChooser final : public ConfigFileChooser {
  public:
    QString ChooseFileToSave(QWidget* /*parent*/) override { return Next(Saves); }
    QString ChooseFileToOpen(QWidget* /*parent*/) override { return Next(Opens); }

    QStringList Answers;
    int Saves = 0;
    int Opens = 0;

  private:
    QString Next(int& count) {
        ++count;
        return Answers.isEmpty() ? QString() : Answers.takeFirst();
    }
};

/// Stand-ins for the two settings editors: the editors' frame without pages, which notes
/// every reopen it is told of.
class StubEditors final : public SettingsDialogs {
  public:
    StubEditors(Connection& connection, Messenger& messenger)
        : connection_(connection), messenger_(messenger) {}
    SettingsEditor* CreateBasic(QWidget* parent) override { return Make(parent); }
    SettingsEditor* CreateAdvanced(QWidget* parent) override { return Make(parent); }
    int Created = 0;
    std::vector<SettingsEditor*> Reopened;

  private:
    class Stub final : public SettingsEditor {
      public:
        Stub(StubEditors& owner, QWidget* parent)
            : SettingsEditor(QStringLiteral("Stub"), Editor::kBasic, owner.connection_,
                             owner.messenger_, owner.files_, parent),
              owner_(owner) {}
        void RefreshAllPages() override {}
        void ReaderReopened() override { owner_.Reopened.push_back(this); }

      private:
        StubEditors& owner_;
    };
    SettingsEditor* Make(QWidget* parent) {
        ++Created;
        return new Stub(*this, parent);
    }
    Connection& connection_;
    Messenger& messenger_;
    QtConfigFileChooser files_;
};

/// Opens an editor as its button does, the basic one for `which` 0, else the advanced one;
/// the editor, or null when none opened.
inline SettingsEditor* ShowEditor(MainWindow& window, int which) {
    if (which == 0)
        window.ChangeBasicSettings();
    else
        window.ChangeAdvancedSettings();
    return which == 0 ? window.BasicDialog() : window.AdvancedDialog();
}

/// Simulated readers (as `--simulate` describes them) whose pauses return at once and are
/// recorded, a connection to them, a messenger that records and editors for a window.
struct AppRig {
    explicit AppRig(const Strings& readers = {});
    /// Every pause asked for since the last call, then forgets them.
    std::vector<int> TakePauses() { return std::exchange(Machine.RecordedPauses().Waits, {}); }

    SimulatedEnvironment Machine;
    RecordingMessenger Messages;
    Connection Link{Machine, Messages};
    StubEditors Editors{Link, Messages};
};

/// The program's window, shown, on the readers of `machine`, as the program sets it up.
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

/// The program's window with its two real editors, shown, on simulated readers written as
/// --simulate takes them; their message boxes and file questions are the real ones.
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
    RecordingMessenger messenger;
    Connection connection{machine, messenger};
    QtConfigFileChooser files;
    SettingsEditors editors{connection, messenger, files};
    MainWindow window{connection, messenger, editors};
};

}  // namespace ravelfin::testing
