#pragma once

class QDialog;
class QWidget;

namespace ravelfin {

/// Builds the two settings editors for the main window. Each is a QDialog shown as a page
/// in the main window's content area (a child widget, not a window: see
/// SkinnedDialog's page constructor); it ends with
/// `done`, and gives the focus to its main button when it receives the focus itself.
class SettingsDialogs {
  public:
    virtual ~SettingsDialogs() = default;
    /// The basic settings editor on the connection's record and transport, its pages
    /// refreshed; nullptr when the program has none.
    virtual QDialog* CreateBasic(QWidget* parent) = 0;
    /// The advanced settings editor, its pages refreshed; nullptr when the program has none.
    virtual QDialog* CreateAdvanced(QWidget* parent) = 0;
    /// The reader was opened again after a reset (the connection holds a new record), or the
    /// report read it again into the record: `editor` (either editor, made by this factory)
    /// reloads what it knows of the reader and refreshes its pages.
    virtual void ReaderReopened(QDialog& editor) = 0;
};

/// Until the editors exist the CHANGE buttons stop after connecting.
class NoSettingsDialogs final : public SettingsDialogs {
  public:
    QDialog* CreateBasic(QWidget* /*parent*/) override { return nullptr; }
    QDialog* CreateAdvanced(QWidget* /*parent*/) override { return nullptr; }
    void ReaderReopened(QDialog& /*advanced*/) override {}
};

}  // namespace ravelfin
