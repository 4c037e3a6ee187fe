#pragma once

#include <vector>

#include "advanced/advanced_context.h"
#include "advanced/rules/advanced_tabs.h"
#include "controls/skinned_dialog.h"
#include "flows/flow_context.h"

class QPushButton;
class QTabWidget;

namespace ravelfin {

class DataEditingPage;
class OutputFormatPage;
class SecuritySettingPage;

/// The advanced settings editor, a page in the main window's content area: the tabs for the
/// connected reader (settings pages that edit the connection's record in place, and the
/// reader tools) above the five buttons "Send to MSR", "Save to File", "Load from File",
/// "Default All" and "Close". The set of tabs is fixed when the editor is built.
///
/// It ends with `accept` ("Close", or a reset that closes it); Enter and Escape do not end
/// it. When a flow has made the reader reset, it emits `ReaderResetting` after its own
/// close, and takes the reopened reader with `ReaderReopened`.
class AdvancedSettingsDialog final : public SkinnedDialog {
    Q_OBJECT
  public:
    /// Takes the connection's reader (`FetchReaderContext`) and builds the tabs.
    AdvancedSettingsDialog(const AdvancedEditorServices& services, QWidget* parent);
    ~AdvancedSettingsDialog() override;

    /// Takes the connection's record, transport and device index, and clears the record's
    /// `ReconnectPending`: a change that the basic editor loaded but did not send does not
    /// make this editor's next send reopen the reader.
    void FetchReaderContext();
    /// Reloads the settings pages from the record: Output Format, Data Editing, Security
    /// Setting, those that exist. The tools keep what they show.
    void RefreshAllPages();
    /// The main window re-opened the reader: take the new connection and show its settings.
    void ReaderReopened();

    // The five buttons.
    void SendToMsr();
    void SaveToFile();
    void LoadFromFile();
    void DefaultAll();
    void CloseEditor();

    QTabWidget* Tabs() const { return tabWidget_; }
    /// The page of a tab, or nullptr when the reader has no such tab.
    QWidget* Page(AdvancedTab tab) const;
    OutputFormatPage* OutputFormat() const { return outputFormat_; }
    SecuritySettingPage* Security() const { return security_; }
    QPushButton* SendButton() const { return send_; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* LoadButton() const { return load_; }
    QPushButton* DefaultButton() const { return defaults_; }
    QPushButton* CloseButton() const { return close_; }

  signals:
    /// A sent setting or the factory settings made the reader reset; it is back (the flow
    /// waited for it) and must be re-opened.
    void ReaderResetting();

  public slots:
    /// Escape: does nothing.
    void reject() override {}

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildTabs();
    QWidget* CreatePage(AdvancedTab tab);
    void OnTabChanged(int index);
    void AfterReset(ReaderReset reset);
    void RefreshBothEditors();
    /// The firmware version number of the connection's reader.
    double FirmwareVersion() const;

    AdvancedEditorServices services_;
    ReaderContext reader_;
    AdvancedPageContext pages_;
    std::vector<AdvancedTab> tabs_;
    QTabWidget* tabWidget_;
    OutputFormatPage* outputFormat_ = nullptr;
    SecuritySettingPage* security_ = nullptr;
    DataEditingPage* dataEditing_ = nullptr;
    QPushButton* send_;
    QPushButton* save_;
    QPushButton* load_;
    QPushButton* defaults_;
    QPushButton* close_;
};

}  // namespace ravelfin
