#pragma once

#include <array>

#include <QPointer>
#include <QTabWidget>

#include "controls/skinned_page.h"
#include "flows/flow_context.h"
#include "flows/send_settings.h"

class QLabel;
class QPushButton;

namespace ravelfin {

class ConfigFileChooser;
class Connection;
class Messenger;
class ReaderSettings;

/// The frame both settings editors share, a page in the main window's content area: a
/// caption, the tab set of the editor's pages, and the buttons "Send to MSR", "Save to File",
/// "Load from File", "Default All" and "Close" with the flows they run.
///
/// An editor reaches the record and the transport through the connection at each use, never
/// through a pointer kept from before: the main window replaces both when it reconnects. One
/// flow runs at a time. Closing hides the editor and emits `Closed`; its owner deletes it
/// later, once the flow that closed it has returned.
class SettingsEditor : public SkinnedPage {
    Q_OBJECT
  public:
    enum ButtonId { kSend, kSave, kLoad, kDefaultAll, kClose, kButtonCount };

    SettingsEditor(const QString& caption, Editor kind, Connection& connection,
                   Messenger& messenger, ConfigFileChooser& files, QWidget* parent);

    /// Reloads the settings pages from the connection's record.
    virtual void RefreshAllPages() = 0;
    /// The reader was opened again after its reset, or its settings were read again: the
    /// pages show the connection's record, and the editor takes input again.
    virtual void ReaderReopened();

    // The five flows, as their buttons run them.
    void SendToMsr();
    void SaveToFile();
    void LoadFromFile();
    void DefaultAll();
    void CloseEditor();

    /// Whether the reader being edited is attached: "Send to MSR" and "Default All" write to
    /// it, and are off while it is away.
    void SetReaderPresent(bool present);

    /// Ends the editor for good: hides it, ends the modal windows it has open, and deletes
    /// it once no flow of it runs and control is back in the event loop it was made in, so
    /// that no loop of its own (a file dialog, a message, a pause) returns into a deleted
    /// editor.
    void Dispose();

    QTabWidget* Tabs() const { return tabs_; }
    /// The page of tab `index` (each tab holds its page in a scroll area of its own), or null.
    QWidget* PageAt(int index) const;
    /// The page of the current tab, or null.
    QWidget* CurrentPage() const { return PageAt(tabs_->currentIndex()); }
    /// Selects the tab of `page`.
    void ShowPage(QWidget* page);
    QPushButton* Button(ButtonId id) const { return buttons_[id]; }

  signals:
    /// "Close", or a reset that closes the editor; emitted once.
    void Closed();
    /// The reader resets after what was sent and must be opened again. When the editor
    /// closes for it, `Closed` comes first.
    void ReopenRequested();
    /// The record was read from the reader again: the other editor reloads its pages.
    void SettingsReread();

  protected:
    /// Adds a tab with `page`, which scrolls where the window is smaller than the page's own
    /// smallest readable size; Tab reaches the buttons after the controls of every page.
    void AddPage(QWidget* page, const QString& caption);
    /// The record being edited, or null while the connection has none.
    ReaderSettings* Record() const;
    Connection& Link() const { return connection_; }
    Messenger& Messages() const { return messenger_; }
    /// What a flow borrows to run on the connection's reader as it is now.
    FlowContext Context() const;
    /// Shows the security state a send read back; none unless the editor shows it.
    virtual SecurityStateCallback SecurityDisplay() { return {}; }
    /// Whether the four flow buttons (all but "Close") take input.
    void SetFlowButtonsEnabled(bool enabled);
    /// Reloads this editor's pages and tells the other editor to reload its own.
    void RefreshBothEditors();

  private:
    /// Runs one flow unless another is still running (its pauses keep the window alive).
    template <typename Flow>
    void RunFlow(Flow&& flow);
    void AfterReset(ReaderReset reset);
    void UpdateFlowButtons();

    Editor kind_;
    Connection& connection_;
    Messenger& messenger_;
    ConfigFileChooser& files_;
    QLabel* caption_;
    QTabWidget* tabs_;
    std::array<QPushButton*, kButtonCount> buttons_{};
    bool busy_ = false;
    QPointer<QWidget> focusBeforeReset_;  // given back once the reader is open again
    bool closed_ = false;
    bool flowsApply_ = true;
    bool readerPresent_ = true;
    int madeAtLoopLevel_;
};

}  // namespace ravelfin
