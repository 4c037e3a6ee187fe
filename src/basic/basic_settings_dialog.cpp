#include "basic/basic_settings_dialog.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "basic/general_settings_page.h"
#include "basic/keyboard_settings_page.h"
#include "basic/pre_postamble_page.h"
#include "basic/track_settings_page.h"
#include "connection/connection.h"
#include "controls/config_file_chooser.h"
#include "flows/factory_defaults.h"
#include "flows/send_settings.h"
#include "flows/settings_file_flow.h"

namespace ravelfin {

namespace {
std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
}  // namespace

BasicSettingsDialog::BasicSettingsDialog(Connection& connection, Messenger& messenger,
                                         ConfigFileChooser& files, QWidget* parent)
    : SkinnedDialog(parent, PageTag{}),
      connection_(connection),
      messenger_(messenger),
      files_(files),
      caption_(new QLabel(QStringLiteral("Change Basic Settings:"))),
      tabs_(new QTabWidget),
      general_(new GeneralSettingsPage(connection, messenger)),
      prePost_(new PrePostamblePage(connection, messenger)),
      track_(new TrackSettingsPage(connection, messenger)),
      keyboard_(new KeyboardSettingsPage(connection, messenger)) {
    QFont captionFont = caption_->font();
    captionFont.setBold(true);
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.25);
    caption_->setFont(captionFont);

    tabs_->addTab(general_, QStringLiteral("General Settings"));
    tabs_->addTab(prePost_, QStringLiteral("Pre/Postamble"));
    tabs_->addTab(track_, QStringLiteral("Track Settings"));
    tabs_->addTab(keyboard_, QStringLiteral("Keyboard Settings"));

    const char* captions[kButtonCount] = {"Send to MSR", "Save to File", "Load from File",
                                          "Default All", "Close"};
    for (int i = 0; i < kButtonCount; ++i) {
        buttons_[i] = new QPushButton(QString::fromLatin1(captions[i]));
        buttons_[i]->setAutoDefault(false);
    }
    connect(buttons_[kSend], &QPushButton::clicked, this, &BasicSettingsDialog::SendToMsr);
    connect(buttons_[kSave], &QPushButton::clicked, this, &BasicSettingsDialog::SaveToFile);
    connect(buttons_[kLoad], &QPushButton::clicked, this, &BasicSettingsDialog::LoadFromFile);
    connect(buttons_[kDefaultAll], &QPushButton::clicked, this, &BasicSettingsDialog::DefaultAll);
    connect(buttons_[kClose], &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    // The focus given to the editor goes to "Close": the main window gives it when it shows
    // the editor and when it refuses to leave it.
    setFocusProxy(buttons_[kClose]);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addWidget(tabs_, 1);
    layout->addLayout(CenteredButtonRow({buttons_[kSend], buttons_[kSave], buttons_[kLoad],
                                         buttons_[kDefaultAll], buttons_[kClose]}));
}

void BasicSettingsDialog::RefreshAllPages() {
    for (BasicPage* page : std::initializer_list<BasicPage*>{general_, prePost_, track_, keyboard_})
        page->Refresh();
}

void BasicSettingsDialog::ReaderReopened() {
    RefreshAllPages();
    setEnabled(connection_.Settings != nullptr);
}

FlowContext BasicSettingsDialog::Context() const {
    return connection_.Flow(messenger_);
}

template <typename Flow>
void BasicSettingsDialog::RunFlow(Flow&& flow) {
    if (busy_ || !connection_.Settings)
        return;
    busy_ = true;
    flow(*connection_.Settings);
    busy_ = false;
}

void BasicSettingsDialog::SendToMsr() {
    RunFlow(
        [this](ReaderSettings& settings) { AfterReset(SendToReader(Context(), settings).Reset); });
}

void BasicSettingsDialog::SaveToFile() {
    RunFlow([this](ReaderSettings& settings) {
        const QString path = files_.ChooseFileToSave(this);
        if (!path.isEmpty()) {
            ravelfin::SaveToFile(settings, connection_.Transport.get(), LocalPath(path),
                                 Editor::kBasic, messenger_);
        }
    });
}

void BasicSettingsDialog::LoadFromFile() {
    RunFlow([this](ReaderSettings& settings) {
        const QString path = files_.ChooseFileToOpen(this);
        if (!path.isEmpty())
            ravelfin::LoadFromFile(settings, LocalPath(path), messenger_,
                                   [this] { RefreshAllPages(); });
    });
}

void BasicSettingsDialog::DefaultAll() {
    RunFlow([this](ReaderSettings& settings) {
        const DefaultsOutcome outcome = RestoreDefaults(Context(), settings, [this] {
            RefreshAllPages();
            emit SettingsReread();
        });
        AfterReset(outcome.Reset);
    });
}

void BasicSettingsDialog::AfterReset(ReaderReset reset) {
    if (reset == ReaderReset::kNone)
        return;
    if (reset == ReaderReset::kReopenCloseEditor) {
        done(QDialog::Accepted);
    } else {
        // The record is replaced when the reader is opened again: nothing may edit it until
        // the pages show the new one.
        setEnabled(false);
    }
    emit ReopenRequested();
}

}  // namespace ravelfin
