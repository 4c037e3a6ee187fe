#pragma once

class QWidget;

namespace ravelfin {

class SettingsEditor;

/// Builds the two settings editors for the main window, each a page placed in its content
/// area, its pages loaded from the connection's record.
class SettingsDialogs {
  public:
    virtual ~SettingsDialogs() = default;
    /// The basic settings editor; nullptr when the program has none.
    virtual SettingsEditor* CreateBasic(QWidget* parent) = 0;
    /// The advanced settings editor; nullptr when the program has none.
    virtual SettingsEditor* CreateAdvanced(QWidget* parent) = 0;
};

/// Until the editors exist the CHANGE buttons stop after connecting.
class NoSettingsDialogs final : public SettingsDialogs {
  public:
    SettingsEditor* CreateBasic(QWidget* /*parent*/) override { return nullptr; }
    SettingsEditor* CreateAdvanced(QWidget* /*parent*/) override { return nullptr; }
};

}  // namespace ravelfin
