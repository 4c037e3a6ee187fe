#include "editor/settings_editor.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "connection/connection.h"
#include "controls/config_file_chooser.h"
#include "controls/skinned_dialog.h"
#include "flows/factory_defaults.h"
#include "flows/settings_file_flow.h"

namespace ravelfin {

namespace {
constexpr int kDisposeRetryMs = 50;

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
}  // namespace

SettingsEditor::SettingsEditor(const QString& caption, Editor kind, Connection& connection,
                               Messenger& messenger, ConfigFileChooser& files, QWidget* parent)
    : SkinnedPage(parent),
      kind_(kind),
      connection_(connection),
      messenger_(messenger),
      files_(files),
      caption_(new QLabel(caption)),
      tabs_(new QTabWidget),
      madeAtLoopLevel_(QThread::currentThread()->loopLevel()) {
    QFont captionFont = caption_->font();
    captionFont.setBold(true);
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.25);
    caption_->setFont(captionFont);
    // The editor is a page of the main window, not a window of its own: named after its
    // caption, it tells a screen reader which editor the focus has entered.
    QString name = caption;
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    setAccessibleName(name);

    const char* captions[kButtonCount] = {"Send to MSR", "Save to File", "Load from File",
                                          "Default All", "Close"};
    for (int i = 0; i < kButtonCount; ++i)
        buttons_[i] = new QPushButton(QString::fromLatin1(captions[i]));
    connect(buttons_[kSend], &QPushButton::clicked, this, &SettingsEditor::SendToMsr);
    connect(buttons_[kSave], &QPushButton::clicked, this, &SettingsEditor::SaveToFile);
    connect(buttons_[kLoad], &QPushButton::clicked, this, &SettingsEditor::LoadFromFile);
    connect(buttons_[kDefaultAll], &QPushButton::clicked, this, &SettingsEditor::DefaultAll);
    connect(buttons_[kClose], &QPushButton::clicked, this, &SettingsEditor::CloseEditor);
    // The keyboard enters at the tab bar, never at a button that writes to the reader.
    setFocusProxy(tabs_->tabBar());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addWidget(tabs_, 1);
    layout->addLayout(CenteredButtonRow({buttons_[kSend], buttons_[kSave], buttons_[kLoad],
                                         buttons_[kDefaultAll], buttons_[kClose]}));
}

void SettingsEditor::AddPage(QWidget* page, const QString& caption) {
    // On a small screen or at a large scale the page keeps the size its controls need to be
    // read, and scrolls, instead of squeezing them.
    auto* scroll = new QScrollArea;
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setAccessibleName(caption);
    tabs_->addTab(scroll, caption);
    // The main window's "HELP" stands beside the page's own "Help": a screen reader says both
    // alike unless the page's says which page it helps with ("Pre/Postamble Help").
    for (QPushButton* button : page->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Help"))
            button->setAccessibleName(caption + QStringLiteral(" Help"));
    }
    // A page joins the focus chain after the buttons, which were made first: put them back
    // behind the last control of the pages, in the order they stand.
    QWidget* last = tabs_;
    for (QWidget* w = tabs_->nextInFocusChain(); w != tabs_; w = w->nextInFocusChain()) {
        if (tabs_->isAncestorOf(w))
            last = w;
    }
    for (QPushButton* button : buttons_) {
        setTabOrder(last, button);
        last = button;
    }
}

QWidget* SettingsEditor::PageAt(int index) const {
    const auto* scroll = qobject_cast<const QScrollArea*>(tabs_->widget(index));
    return scroll ? scroll->widget() : nullptr;
}

void SettingsEditor::ShowPage(QWidget* page) {
    for (int i = 0; i < tabs_->count(); ++i) {
        if (PageAt(i) == page)
            tabs_->setCurrentIndex(i);
    }
}

ReaderSettings* SettingsEditor::Record() const {
    return connection_.Settings.get();
}

FlowContext SettingsEditor::Context() const {
    return connection_.Flow(messenger_);
}

void SettingsEditor::SetFlowButtonsEnabled(bool enabled) {
    flowsApply_ = enabled;
    UpdateFlowButtons();
}

void SettingsEditor::SetReaderPresent(bool present) {
    readerPresent_ = present;
    UpdateFlowButtons();
}

void SettingsEditor::UpdateFlowButtons() {
    for (ButtonId id : {kSave, kLoad})
        buttons_[id]->setEnabled(flowsApply_);
    for (ButtonId id : {kSend, kDefaultAll})
        buttons_[id]->setEnabled(flowsApply_ && readerPresent_);
}

void SettingsEditor::ReaderReopened() {
    RefreshAllPages();
    setEnabled(Record() != nullptr);
    if (focusBeforeReset_ && isEnabled() && focusBeforeReset_->isEnabled())
        focusBeforeReset_->setFocus(Qt::OtherFocusReason);
    focusBeforeReset_ = nullptr;
}

void SettingsEditor::RefreshBothEditors() {
    RefreshAllPages();
    emit SettingsReread();
}

template <typename Flow>
void SettingsEditor::RunFlow(Flow&& flow) {
    if (busy_ || closed_ || !Record())
        return;
    const QScopedValueRollback running(busy_, true);
    flow();
}

void SettingsEditor::SendToMsr() {
    RunFlow([this] { AfterReset(SendToReader(Context(), *Record(), SecurityDisplay()).Reset); });
}

void SettingsEditor::SaveToFile() {
    RunFlow([this] {
        const QString path = files_.ChooseFileToSave(this);
        // The chooser ran an event loop: take the record as it is now.
        if (!path.isEmpty() && Record()) {
            ravelfin::SaveToFile(*Record(), connection_.Transport.get(), LocalPath(path), kind_,
                                 messenger_);
        }
    });
}

void SettingsEditor::LoadFromFile() {
    RunFlow([this] {
        const QString path = files_.ChooseFileToOpen(this);
        if (!path.isEmpty() && Record())
            ravelfin::LoadFromFile(*Record(), LocalPath(path), messenger_,
                                   [this] { RefreshAllPages(); });
    });
}

void SettingsEditor::DefaultAll() {
    RunFlow([this] {
        const DefaultsOutcome outcome =
            RestoreDefaults(Context(), *Record(), [this] { RefreshBothEditors(); });
        AfterReset(outcome.Reset);
    });
}

void SettingsEditor::CloseEditor() {
    if (closed_)
        return;
    closed_ = true;
    hide();
    emit Closed();
}

void SettingsEditor::Dispose() {
    hide();
    for (QDialog* dialog : findChildren<QDialog*>()) {
        if (dialog->isVisible() && dialog->isModal())
            dialog->reject();
    }
    if (busy_ || QThread::currentThread()->loopLevel() > madeAtLoopLevel_) {
        QTimer::singleShot(kDisposeRetryMs, this, &SettingsEditor::Dispose);
        return;
    }
    deleteLater();
}

void SettingsEditor::AfterReset(ReaderReset reset) {
    if (reset == ReaderReset::kNone)
        return;
    // The flow has already waited for the reader to come back. Closing first keeps the main
    // window's order: the editor is gone before the reader is opened again.
    if (reset == ReaderReset::kReopenCloseEditor) {
        CloseEditor();
    } else {
        // The record is replaced when the reader is opened again: nothing may edit it until
        // the pages show the new one. Disabling moves the focus away; it comes back after.
        focusBeforeReset_ = focusWidget();
        setEnabled(false);
    }
    emit ReopenRequested();
}

}  // namespace ravelfin
