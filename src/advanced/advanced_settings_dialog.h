#pragma once

#include <vector>

#include "advanced/advanced_context.h"
#include "advanced/rules/advanced_tabs.h"
#include "editor/settings_editor.h"

namespace ravelfin {

class DataEditingPage;
class OutputFormatPage;
class SecuritySettingPage;

/// The advanced settings editor: the tabs for the connected reader (settings pages that edit
/// the connection's record in place, and the reader tools) above the editor's five buttons,
/// whose four flow buttons apply on the settings tabs only. The set of tabs is fixed when
/// the editor is built, for the reader connected then.
class AdvancedSettingsDialog final : public SettingsEditor {
    Q_OBJECT
  public:
    /// Builds the tabs, and clears the record's `ReconnectPending`: a change that the basic
    /// editor loaded but did not send does not make this editor's next send reopen the reader.
    AdvancedSettingsDialog(const AdvancedEditorServices& services, QWidget* parent);
    ~AdvancedSettingsDialog() override;

    /// Reloads the settings pages from the record: Output Format, Data Editing, Security
    /// Setting, those that exist. The tools keep what they show.
    void RefreshAllPages() override;

    /// The page of a tab, or nullptr when the reader has no such tab.
    QWidget* Page(AdvancedTab tab) const;
    OutputFormatPage* OutputFormat() const { return outputFormat_; }
    SecuritySettingPage* Security() const { return security_; }
    QPushButton* SendButton() const { return Button(kSend); }
    QPushButton* SaveButton() const { return Button(kSave); }
    QPushButton* LoadButton() const { return Button(kLoad); }
    QPushButton* DefaultButton() const { return Button(kDefaultAll); }
    QPushButton* CloseButton() const { return Button(kClose); }

  protected:
    SecurityStateCallback SecurityDisplay() override;

  private:
    std::vector<AdvancedTab> TabsForConnectedReader() const;
    QWidget* CreatePage(AdvancedTab tab);
    void OnTabChanged(int index);
    /// The firmware version number of the connection's reader.
    double FirmwareVersion() const;

    AdvancedEditorServices services_;
    AdvancedPageContext pages_;
    std::vector<AdvancedTab> tabs_;
    OutputFormatPage* outputFormat_ = nullptr;
    SecuritySettingPage* security_ = nullptr;
    DataEditingPage* dataEditing_ = nullptr;
};

}  // namespace ravelfin
