#include "advanced/advanced_settings_dialog.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "advanced/advanced_page.h"
#include "advanced/output_format_page.h"
#include "advanced/security_setting_page.h"
#include "advanced/tool_pages.h"
#include "dataedit/ui/data_editing_page.h"
#include "flows/factory_defaults.h"
#include "flows/send_settings.h"
#include "flows/settings_file_flow.h"

namespace ravelfin {

AdvancedSettingsDialog::AdvancedSettingsDialog(const AdvancedEditorServices& services,
                                               QWidget* parent)
    : SkinnedDialog(parent, PageTag{}),
      services_(services),
      pages_{services_, reader_, [this] { RefreshBothEditors(); }},
      tabWidget_(new QTabWidget(this)),
      // The buttons join the dialog after the pages, so that Tab reaches them after the
      // page's controls, in the order they stand.
      send_(new QPushButton(QStringLiteral("Send to MSR"))),
      save_(new QPushButton(QStringLiteral("Save to File"))),
      load_(new QPushButton(QStringLiteral("Load from File"))),
      defaults_(new QPushButton(QStringLiteral("Default All"))),
      close_(new QPushButton(QStringLiteral("Close"))) {
    auto* caption = new QLabel(QStringLiteral("Change Advanced Settings:"), this);
    QFont bold = caption->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    caption->setFont(bold);

    for (QPushButton* button : {send_, save_, load_, defaults_, close_})
        button->setAutoDefault(false);  // Enter presses no button of the editor
    setFocusProxy(send_);

    connect(send_, &QPushButton::clicked, this, &AdvancedSettingsDialog::SendToMsr);
    connect(save_, &QPushButton::clicked, this, &AdvancedSettingsDialog::SaveToFile);
    connect(load_, &QPushButton::clicked, this, &AdvancedSettingsDialog::LoadFromFile);
    connect(defaults_, &QPushButton::clicked, this, &AdvancedSettingsDialog::DefaultAll);
    connect(close_, &QPushButton::clicked, this, &AdvancedSettingsDialog::CloseEditor);

    FetchReaderContext();
    BuildTabs();
    connect(tabWidget_, &QTabWidget::currentChanged, this, &AdvancedSettingsDialog::OnTabChanged);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(tabWidget_, 1);
    layout->addLayout(CenteredButtonRow({send_, save_, load_, defaults_, close_}));
}

AdvancedSettingsDialog::~AdvancedSettingsDialog() = default;

void AdvancedSettingsDialog::FetchReaderContext() {
    Connection& link = services_.Link;
    reader_.Settings = link.Settings.get();
    reader_.Transport = link.Transport.get();
    reader_.DeviceIndex = link.DeviceIndex;
    if (reader_.Settings)
        reader_.Settings->ReconnectPending = 0;
}

void AdvancedSettingsDialog::BuildTabs() {
    const ReaderTransport* transport = reader_.Transport;
    tabs_ =
        AdvancedTabSet(transport ? transport->ProductId : 0,
                       reader_.Settings ? reader_.Settings->SecurityLevel : 0, FirmwareVersion());
    if (!reader_.Settings)  // no record to edit: the reader tools only
        std::erase_if(tabs_, IsSettingsTab);
    for (AdvancedTab tab : tabs_)
        tabWidget_->addTab(CreatePage(tab), QString::fromLatin1(TabCaption(tab)));
    tabWidget_->setCurrentIndex(0);
    OnTabChanged(0);
}

QWidget* AdvancedSettingsDialog::CreatePage(AdvancedTab tab) {
    switch (tab) {
        case AdvancedTab::kOutputFormat:
            return outputFormat_ = new OutputFormatPage(pages_, tabWidget_);
        case AdvancedTab::kDataEditing:
            return dataEditing_ = new DataEditingPage(*reader_.Settings, FirmwareVersion(),
                                                      services_.Messages, tabWidget_);
        case AdvancedTab::kSecuritySetting:
            return security_ = new SecuritySettingPage(pages_, tabWidget_);
        case AdvancedTab::kQuickClone:
            return CreateQuickClonePage(pages_, tabWidget_);
        case AdvancedTab::kManualCommand:
            return CreateManualCommandPage(pages_, tabWidget_);
        case AdvancedTab::kBootLoader:
            return CreateBootLoaderPage(pages_, tabWidget_);
    }
    return nullptr;
}

QWidget* AdvancedSettingsDialog::Page(AdvancedTab tab) const {
    for (std::size_t i = 0; i < tabs_.size(); ++i) {
        if (tabs_[i] == tab)
            return tabWidget_->widget(static_cast<int>(i));
    }
    return nullptr;
}

void AdvancedSettingsDialog::OnTabChanged(int index) {
    const bool settingsTab =
        index >= 0 && index < static_cast<int>(tabs_.size()) && IsSettingsTab(tabs_[index]);
    for (QPushButton* button : {send_, load_, save_, defaults_})
        button->setEnabled(settingsTab);
}

void AdvancedSettingsDialog::RefreshAllPages() {
    if (outputFormat_)
        outputFormat_->Refresh();
    if (dataEditing_)
        dataEditing_->Refresh();
    if (security_)
        security_->Refresh();
}

void AdvancedSettingsDialog::RefreshBothEditors() {
    RefreshAllPages();
    if (services_.RefreshBasicEditor)
        services_.RefreshBasicEditor();
}

void AdvancedSettingsDialog::ReaderReopened() {
    FetchReaderContext();
    // The data editing page holds on to the record it was given; a reopen brings a new one.
    if (dataEditing_ && reader_.Settings)
        dataEditing_->SetRecord(*reader_.Settings, FirmwareVersion());
    RefreshAllPages();
}

double AdvancedSettingsDialog::FirmwareVersion() const {
    return reader_.Transport ? reader_.Transport->FirmwareVersionNumber : 0.0;
}

void AdvancedSettingsDialog::SendToMsr() {
    if (!reader_.Settings)
        return;
    SecurityStateCallback showSecurity;
    if (security_)
        showSecurity = [this](const SecurityState& state) { security_->ShowReaderSecurity(state); };
    const SendOutcome outcome = SendToReader(pages_.Flow(), *reader_.Settings, showSecurity);
    AfterReset(outcome.Reset);
}

void AdvancedSettingsDialog::SaveToFile() {
    if (!reader_.Settings)
        return;
    const QString path = services_.Files.ChooseFileToSave(this);
    if (path.isEmpty())
        return;
    ravelfin::SaveToFile(*reader_.Settings, reader_.Transport,
                         QFile::encodeName(path).toStdString(), Editor::kAdvanced,
                         services_.Messages);
}

void AdvancedSettingsDialog::LoadFromFile() {
    if (!reader_.Settings)
        return;
    const QString path = services_.Files.ChooseFileToOpen(this);
    if (path.isEmpty())
        return;
    ravelfin::LoadFromFile(*reader_.Settings, QFile::encodeName(path).toStdString(),
                           services_.Messages, [this] { RefreshAllPages(); });
}

void AdvancedSettingsDialog::DefaultAll() {
    if (!reader_.Settings)
        return;
    const DefaultsOutcome outcome =
        RestoreDefaults(pages_.Flow(), *reader_.Settings, [this] { RefreshBothEditors(); });
    AfterReset(outcome.Reset);
}

void AdvancedSettingsDialog::AfterReset(ReaderReset reset) {
    // The flow has already waited for the reader to come back. Closing first keeps the main
    // window's order: the editor is gone before the reader is re-opened.
    if (reset == ReaderReset::kReopenCloseEditor)
        CloseEditor();
    if (reset != ReaderReset::kNone)
        emit ReaderResetting();
}

void AdvancedSettingsDialog::CloseEditor() {
    accept();
}

void AdvancedSettingsDialog::keyPressEvent(QKeyEvent* event) {
    if (IsDialogEndingKey(*event)) {
        event->accept();
        return;
    }
    SkinnedDialog::keyPressEvent(event);
}

}  // namespace ravelfin
