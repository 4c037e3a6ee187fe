#include "app/main_window.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <utility>

#include "advanced/quick_clone_page.h"
#include "app/artwork.h"
#include "app/device_change_relay.h"
#include "app/interface_wizard.h"
#include "app/preferences.h"
#include "app/restart_progress.h"
#include "app/settings_dialogs.h"
#include "app/wait_cursor.h"
#include "app/welcome_painter.h"
#include "app/window_dragger.h"
#include "connection/connection.h"
#include "controls/data_files.h"
#include "controls/help_topics.h"
#include "controls/help_window.h"
#include "controls/notice_window.h"
#include "editor/settings_editor.h"
#include "report/ui/settings_report_dialog.h"
#include "shell/editor_connection.h"
#include "shell/settings_report_flow.h"

namespace ravelfin {

namespace {
constexpr char kHowToGuide[] = "HOW TO USE THIS UTILITY.txt";
constexpr char kTitle[] = "Orvane Ravelfin Configuration Utility";
}  // namespace

QSize MainWindowSize(const QSize& available) {
    return QSize(std::min(kMainWindowWidth, available.width()),
                 std::min(kMainWindowHeight, available.height()));
}

MainWindow::MainWindow(Connection& connection, Messenger& messenger, SettingsDialogs& dialogs,
                       QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      connection_(connection),
      messenger_(messenger),
      dialogs_(dialogs),
      navigation_(new NavigationBar(this)),
      deviceChanges_(new DeviceChangeRelay(connection.Environment(), this)),
      openDocument_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setWindowIcon(ApplicationIcon());
    setWindowTitle(QStringLiteral("Orvane Company Ravelfin Configuration Utility"));
    // The painted welcome page is read out as the window's description.
    setAccessibleName(QString::fromLatin1(kTitle));
    setAccessibleDescription(WelcomeText());
    QSize size(kMainWindowWidth, kMainWindowHeight);
    if (const QScreen* screen = this->screen())
        size = MainWindowSize(screen->availableGeometry().size());
    setFixedSize(size);
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    new WindowDragger(*this);
    connect(navigation_, &NavigationBar::Clicked, this, &MainWindow::OnButton);
    connect(deviceChanges_, &DeviceChangeRelay::Changed, this, &MainWindow::OnDevicesChanged);
    setFocusProxy(navigation_->At(NavigationBar::kSelectInterface));

    remembered_ = LoadPreferences();
    connection_.InterfaceType = remembered_.InterfaceType;
    connection_.DeviceIndex = remembered_.DeviceIndex;
}

MainWindow::~MainWindow() {
    NoteReaderInUse();
    SavePreferences(remembered_);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!focusWidget())
        navigation_->At(NavigationBar::kSelectInterface)->setFocus(Qt::ActiveWindowFocusReason);
}

void MainWindow::NoteReaderInUse() {
    // A reader that could not be opened clears the selection; the one remembered stays
    // until another is chosen or connected.
    if (connection_.InterfaceType != 0 && connection_.DeviceIndex != -1)
        remembered_ = Preferences{connection_.InterfaceType, connection_.DeviceIndex};
}

Preferences MainWindow::RememberedReader() const {
    if (connection_.InterfaceType != 0 && connection_.DeviceIndex != -1)
        return Preferences{connection_.InterfaceType, connection_.DeviceIndex};
    return remembered_;
}

void MainWindow::SetDocumentOpener(std::function<bool(const QUrl&)> opener) {
    openDocument_ = std::move(opener);
}

QRect MainWindow::ContentArea() const {
    const int left = width() * 3 / 10 - 6;
    const int top = height() / 6 + 8;
    return QRect(left, top, width() - left - 2, height() - top - 2);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int left = width() / 10 + 14;
    const int top = height() / 6 + 16;
    navigation_->setGeometry(left, top, ContentArea().left() - 14 - left, height() - top - 14);
    for (QWidget* page : {static_cast<QWidget*>(wizard_), static_cast<QWidget*>(basic_),
                          static_cast<QWidget*>(advanced_)}) {
        if (page)
            page->setGeometry(ContentArea());
    }
}

void MainWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintWelcomePage(painter, size(), ContentArea());
    painter.setPen(QColor(120, 120, 120));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MainWindow::OnButton(NavigationBar::Button button) {
    switch (button) {
        case NavigationBar::kSelectInterface:
            SelectReaderInterface();
            break;
        case NavigationBar::kHowToUse:
            ShowHowToGuide();
            break;
        case NavigationBar::kCheckSettings:
            CheckCurrentSettings();
            break;
        case NavigationBar::kChangeBasic:
            ChangeBasicSettings();
            break;
        case NavigationBar::kChangeAdvanced:
            ChangeAdvancedSettings();
            break;
        case NavigationBar::kHelp:
            ShowHelpFile();
            break;
        case NavigationBar::kExit:
            Exit();
            break;
        case NavigationBar::kButtonCount:
            break;
    }
    NoteReaderInUse();
}

PageStates MainWindow::States() const {
    return PageStates{wizard_ != nullptr, basic_ && !basic_->isHidden(),
                      advanced_ && !advanced_->isHidden()};
}

void MainWindow::ShowPage(QWidget& page) {
    page.setGeometry(ContentArea());
    page.show();
    page.raise();
    page.setFocus(Qt::OtherFocusReason);  // the keyboard follows the user into the page
}

void MainWindow::SelectReaderInterface() {
    OpenWizard(QString());
}

void MainWindow::OpenWizard(const QString& reason) {
    afterWizard_ = nullptr;
    const PageStates pages = States();
    const std::string refusal = WizardRefusal(pages);
    if (!refusal.empty()) {
        messenger_.ShowNotice(refusal);
        SettingsEditor* visible = pages.AdvancedVisible ? advanced_ : basic_;
        if (visible)
            visible->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (wizard_) {
        ShowPage(*wizard_);
        return;
    }
    wizard_ = new InterfaceWizard(connection_, messenger_, this);
    connect(wizard_, &QDialog::finished, this, &MainWindow::OnWizardEnded, Qt::QueuedConnection);
    ShowPage(*wizard_);
    NoteReaderInUse();
    wizard_->Initialise(remembered_, reason);
}

void MainWindow::OpenWizardForNoReader(void (MainWindow::*then)()) {
    OpenWizard(QString::fromStdString(WhyNoReader(connection_)));
    if (wizard_)
        afterWizard_ = then;
}

void MainWindow::OnWizardEnded(int result) {
    NoteReaderInUse();
    if (wizard_) {
        wizard_->hide();
        wizard_->deleteLater();
        wizard_ = nullptr;
    }
    // CONTINUE connected a reader afresh, perhaps another one: editors made for the earlier
    // reader (their tabs, locks and captions follow it) are not for this one.
    if (result == QDialog::Accepted)
        CloseEditors();
    CloseNotice();
    // The user chose the reader to go on with what they asked for.
    if (const auto then = std::exchange(afterWizard_, nullptr); then && result == QDialog::Accepted)
        (this->*then)();
}

void MainWindow::UpdateReaderPresence() {
    // Nothing connected: nothing to send to, and no editor that could.
    const bool present = !connection_.IsConnected() || !connection_.Identity.IsKnown() ||
                         connection_.ReaderAttached();
    if (present == readerPresent_)
        return;
    readerPresent_ = present;
    if (!present && (basic_ || advanced_)) {
        ShowNotice(QStringLiteral("The reader being edited (%1) is not attached: sending is off "
                                  "until it is back.")
                       .arg(QString::fromStdString(connection_.Identity.Describe())));
    } else if (present) {
        CloseNotice();
    }
    for (SettingsEditor* editor : {basic_.data(), advanced_.data()}) {
        if (editor)
            editor->SetReaderPresent(present);
    }
}

void MainWindow::ChooseAnotherReader() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            CloseEditors();
            OpenWizard(QStringLiteral("The reader in use left or was replaced: choose a reader."));
        },
        Qt::QueuedConnection);
}

void MainWindow::OnDevicesChanged(qint64 timestampMs) {
    UpdateReaderPresence();
    // Whichever tab holds it.
    if (auto* clone = advanced_ ? advanced_->findChild<QuickClonePage*>() : nullptr)
        clone->DeviceChanged(timestampMs);
    if (wizard_ && wizard_->isVisible())
        wizard_->DevicesChanged();
}

void MainWindow::OnEditorClosed(QPointer<SettingsEditor>& editor) {
    if (editor) {
        editor->Dispose();
        editor = nullptr;
    }
    navigation_->At(NavigationBar::kExit)->setFocus();
    CloseNotice();
}

void MainWindow::CloseEditors() {
    if (basic_)
        OnEditorClosed(basic_);
    if (advanced_)
        OnEditorClosed(advanced_);
}

void MainWindow::OpenEditor(QPointer<SettingsEditor>& slot, SettingsEditor* editor,
                            QPointer<SettingsEditor>& other) {
    if (slot)
        OnEditorClosed(slot);
    slot = editor;
    if (!editor)
        return;
    // An editor opened on a reader that is away starts with its writing buttons off.
    editor->SetReaderPresent(readerPresent_);
    connect(
        editor, &SettingsEditor::Closed, this,
        [this, editor] {
            if (basic_ == editor)
                OnEditorClosed(basic_);
            if (advanced_ == editor)
                OnEditorClosed(advanced_);
        },
        Qt::QueuedConnection);
    // After the flow that asked for it has returned, and after the editor's own close.
    connect(editor, &SettingsEditor::ReopenRequested, this, &MainWindow::ReopenReader,
            Qt::QueuedConnection);
    connect(editor, &SettingsEditor::SettingsReread, this, [this, editor] {
        for (SettingsEditor* another : {basic_.data(), advanced_.data()}) {
            if (another && another != editor)
                another->RefreshAllPages();
        }
    });
    if (other)
        other->hide();
    ShowPage(*editor);
}

void MainWindow::ChangeBasicSettings() {
    const std::string refusal = BasicEditorRefusal(States());
    if (!refusal.empty()) {
        messenger_.ShowNotice(refusal);
        return;
    }
    bool connected = false;
    {
        WaitCursor busy;
        connected = ConnectForBasicEditor(connection_);
    }
    if (!connected)
        return OpenWizardForNoReader(&MainWindow::ChangeBasicSettings);
    UpdateReaderPresence();
    OpenEditor(basic_, dialogs_.CreateBasic(this), advanced_);
}

void MainWindow::ChangeAdvancedSettings() {
    const std::string refusal = AdvancedEditorRefusal(States());
    if (!refusal.empty()) {
        messenger_.ShowNotice(refusal);
        return;
    }
    bool connected = false;
    {
        WaitCursor busy;
        connected = ConnectForAdvancedEditor(connection_);
    }
    if (!connected)
        return OpenWizardForNoReader(&MainWindow::ChangeAdvancedSettings);
    UpdateReaderPresence();
    OpenEditor(advanced_, dialogs_.CreateAdvanced(this), basic_);
}

void MainWindow::CheckCurrentSettings() {
    std::string report;
    SettingsReportFlow::Outcome outcome;
    {
        WaitCursor busy;
        outcome = SettingsReportFlow(connection_, messenger_).Run(wizard_ != nullptr, report);
    }
    if (outcome == SettingsReportFlow::Outcome::kNoReader)
        OpenWizardForNoReader(&MainWindow::CheckCurrentSettings);
    if (outcome != SettingsReportFlow::Outcome::kReport)
        return;
    // The report read the reader into the record the editors edit: their pages must show
    // what a send would now write.
    for (SettingsEditor* editor : {basic_.data(), advanced_.data()}) {
        if (editor)
            editor->ReaderReopened();
    }
    ShowReport(report);
}

void MainWindow::ShowReport(const std::string& report) {
    SettingsReportDialog dialog(report, this);
    dialog.exec();
}

void MainWindow::ReopenReader() {
    bool reopened = false;
    {
        WaitCursor busy;
        RestartProgress restarting;
        reopened = connection_.Reopen();
    }
    UpdateReaderPresence();
    if (reopened) {
        for (SettingsEditor* editor : {basic_.data(), advanced_.data()}) {
            if (editor)
                editor->ReaderReopened();
        }
        messenger_.ShowMessage("Success to re-open the device.");
        return;
    }
    messenger_.ShowMessage(
        "Warning: fail to re-open the device. please try it from \"Select Interface\" windows.");
    // An editor open on the record that the reset dropped has nothing left to edit.
    CloseEditors();
    SelectReaderInterface();
}

void MainWindow::ShowHowToGuide() {
    const QString path = FindDataFile(QString::fromLatin1(kHowToGuide));
    if (path.isEmpty())
        return;
    if (!openDocument_(QUrl::fromLocalFile(path))) {
        messenger_.ShowMessage(("No program could show the guide. It is the text file " +
                                QDir::toNativeSeparators(path) + ".")
                                   .toStdString());
    }
}

void MainWindow::ShowHelpFile() {
    ShowHelp(this, kHelpFileName, kHelpContextCommand, kHelpMainWindow);
}

void MainWindow::ShowNotice(const QString& text) {
    CloseNotice();
    auto* notice = new NoticeWindow(text, this);
    notice_ = notice;
    connect(
        notice, &NoticeWindow::Finished, this,
        [this, notice] {
            if (notice_ == notice)
                CloseNotice();
        },
        Qt::QueuedConnection);
    notice->show();
}

void MainWindow::CloseNotice() {
    if (!notice_)
        return;
    notice_->hide();
    notice_->deleteLater();
    notice_ = nullptr;
}

void MainWindow::Exit() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    CloseNotice();
    QWidget::closeEvent(event);
    emit Closed();
}

}  // namespace ravelfin
