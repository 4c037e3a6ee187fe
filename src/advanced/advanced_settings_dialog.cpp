#include "advanced/advanced_settings_dialog.h"

#include <QTabWidget>

#include "advanced/output_format_page.h"
#include "advanced/security_setting_page.h"
#include "advanced/tool_pages.h"
#include "dataedit/ui/data_editing_page.h"

namespace ravelfin {

AdvancedSettingsDialog::AdvancedSettingsDialog(const AdvancedEditorServices& services,
                                               QWidget* parent)
    : SettingsEditor(QStringLiteral("Change Advanced Settings:"), Editor::kAdvanced, services.Link,
                     services.Messages, services.Files, parent),
      services_(services),
      pages_{services_, [this] { RefreshBothEditors(); }} {
    if (ReaderSettings* record = Record())
        record->ReconnectPending = 0;
    tabs_ = TabsForConnectedReader();
    for (AdvancedTab tab : tabs_)
        AddPage(CreatePage(tab), QString::fromLatin1(TabCaption(tab)));
    Tabs()->setCurrentIndex(0);
    OnTabChanged(0);
    connect(Tabs(), &QTabWidget::currentChanged, this, &AdvancedSettingsDialog::OnTabChanged);
}

AdvancedSettingsDialog::~AdvancedSettingsDialog() = default;

std::vector<AdvancedTab> AdvancedSettingsDialog::TabsForConnectedReader() const {
    const ReaderTransport* transport = services_.Link.Transport.get();
    const ReaderSettings* record = Record();
    std::vector<AdvancedTab> tabs =
        AdvancedTabSet(transport ? transport->ProductId : 0, record ? record->SecurityLevel : 0,
                       FirmwareVersion());
    if (!record)  // no record to edit: the reader tools only
        std::erase_if(tabs, IsSettingsTab);
    return tabs;
}

QWidget* AdvancedSettingsDialog::CreatePage(AdvancedTab tab) {
    switch (tab) {
        case AdvancedTab::kOutputFormat:
            return outputFormat_ = new OutputFormatPage(pages_, Tabs());
        case AdvancedTab::kDataEditing: {
            Connection& link = services_.Link;
            return dataEditing_ =
                       new DataEditingPage([&link] { return link.Settings.get(); },
                                           FirmwareVersion(), services_.Messages, Tabs());
        }
        case AdvancedTab::kSecuritySetting:
            return security_ = new SecuritySettingPage(pages_, Tabs());
        case AdvancedTab::kQuickClone:
            return CreateQuickClonePage(pages_, Tabs());
        case AdvancedTab::kManualCommand:
            return CreateManualCommandPage(pages_, Tabs());
        case AdvancedTab::kBootLoader:
            return CreateBootLoaderPage(pages_, Tabs());
    }
    return nullptr;
}

QWidget* AdvancedSettingsDialog::Page(AdvancedTab tab) const {
    for (std::size_t i = 0; i < tabs_.size(); ++i) {
        if (tabs_[i] == tab)
            return PageAt(static_cast<int>(i));
    }
    return nullptr;
}

void AdvancedSettingsDialog::OnTabChanged(int index) {
    SetFlowButtonsEnabled(index >= 0 && index < static_cast<int>(tabs_.size()) &&
                          IsSettingsTab(tabs_[static_cast<std::size_t>(index)]));
}

void AdvancedSettingsDialog::RefreshAllPages() {
    if (outputFormat_)
        outputFormat_->Refresh();
    if (dataEditing_) {
        dataEditing_->SetFirmwareVersion(FirmwareVersion());
        dataEditing_->Refresh();
    }
    if (security_)
        security_->Refresh();
}

double AdvancedSettingsDialog::FirmwareVersion() const {
    const ReaderTransport* transport = services_.Link.Transport.get();
    return transport ? transport->FirmwareVersionNumber : 0.0;
}

SecurityStateCallback AdvancedSettingsDialog::SecurityDisplay() {
    if (!security_)
        return {};
    return [this](const SecurityState& state) { security_->ShowReaderSecurity(state); };
}

}  // namespace ravelfin
