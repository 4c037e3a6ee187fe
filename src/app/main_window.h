#pragma once

#include <QDialog>
#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <string>

#include "app/interface_wizard.h"
#include "app/navigation_bar.h"
#include "app/preferences.h"
#include "app/rules/navigation_rules.h"
#include "controls/notice_window.h"
#include "editor/settings_editor.h"

namespace ravelfin {

class Connection;
class DeviceChangeRelay;
class Messenger;
class SettingsDialogs;

/// The window's size where the screen has room for it; on a smaller screen it takes the
/// screen's available area instead, and the layout keeps its proportions.
inline constexpr int kMainWindowWidth = 1000;
inline constexpr int kMainWindowHeight = 680;
QSize MainWindowSize(const QSize& available);

/// The program's one window: a window without caption bar with the navigation buttons on
/// the left and a content area on the right, which shows the painted welcome page until a
/// page (the interface wizard or a settings editor) is placed over it. It owns the pages
/// and the notice, enforces which pages may be open together, and keeps the selected
/// interface and device in the preferences.
class MainWindow final : public QWidget {
    Q_OBJECT
  public:
    /// Restores the selection from the preferences into `connection`; opens no device.
    MainWindow(Connection& connection, Messenger& messenger, SettingsDialogs& dialogs,
               QWidget* parent = nullptr);
    /// Writes the selection back into the preferences.
    ~MainWindow() override;

    // The navigation buttons.
    void SelectReaderInterface();
    void ShowHowToGuide();
    void CheckCurrentSettings();
    void ChangeBasicSettings();
    void ChangeAdvancedSettings();
    void ShowHelpFile();
    void Exit();

    /// Re-opens a reader that reset itself after a sent setting, and says how it went.
    void ReopenReader();
    /// The reader in use left or another answers in its place, and the user asked to choose
    /// one: once the flow that found out has returned, the editors close (their record is
    /// that reader's) and the wizard opens.
    void ChooseAnotherReader();
    /// Replaces any notice by a new one with `text`.
    void ShowNotice(const QString& text);
    void CloseNotice();

    /// How the how-to guide is opened (the desktop's default viewer unless replaced); false
    /// when no viewer could open it, which the user is told.
    void SetDocumentOpener(std::function<bool(const QUrl&)> opener);
    /// The reader the program remembers between runs: the one in use, else the one last
    /// chosen or connected (also when it cannot be opened now).
    Preferences RememberedReader() const;

    InterfaceWizard* Wizard() const { return wizard_; }
    SettingsEditor* BasicDialog() const { return basic_; }
    SettingsEditor* AdvancedDialog() const { return advanced_; }
    NoticeWindow* Notice() const { return notice_; }
    NavigationBar& Navigation() const { return *navigation_; }
    /// Readers arriving and leaving; they reach the quick clone page and the wizard.
    DeviceChangeRelay& DeviceChanges() const { return *deviceChanges_; }
    /// Where the pages are placed.
    QRect ContentArea() const;

  signals:
    /// The window was closed ("EXIT" or the window manager): the program ends, whatever
    /// other windows (help) are still open.
    void Closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void OnButton(NavigationBar::Button button);
    /// Opens the wizard as SELECT READER INTERFACE does; `reason`, when given, says why.
    void OpenWizard(const QString& reason);
    /// Opens the wizard saying why no reader could be taken by itself; once it has connected
    /// a reader, `then` (the button that needed one) goes on.
    void OpenWizardForNoReader(void (MainWindow::*then)());
    void NoteReaderInUse();
    PageStates States() const;
    void ShowPage(QWidget& page);
    void OnWizardEnded(int result);
    void OnDevicesChanged(qint64 timestampMs);
    /// Shows `editor` (just made, or null) in place of `slot`'s editor and of the other one.
    void OpenEditor(QPointer<SettingsEditor>& slot, SettingsEditor* editor,
                    QPointer<SettingsEditor>& other);
    void OnEditorClosed(QPointer<SettingsEditor>& editor);
    /// Closes both editors: the reader they were made for is no longer the one in use.
    void CloseEditors();
    /// Looks whether the reader in use is attached and tells when that changed; an editor's
    /// reader that left gets a notice.
    void UpdateReaderPresence();
    void ShowReport(const std::string& report);

    Connection& connection_;
    Messenger& messenger_;
    SettingsDialogs& dialogs_;
    NavigationBar* navigation_;
    DeviceChangeRelay* deviceChanges_;
    QPointer<InterfaceWizard> wizard_;
    QPointer<SettingsEditor> basic_;
    QPointer<SettingsEditor> advanced_;
    QPointer<NoticeWindow> notice_;
    std::function<bool(const QUrl&)> openDocument_;
    /// What the wizard's CONTINUE goes on with, when a button opened it for want of a reader.
    void (MainWindow::*afterWizard_)() = nullptr;
    Preferences remembered_;
    bool readerPresent_ = true;
};

}  // namespace ravelfin
