#pragma once

#include <QString>

class QWidget;

namespace ravelfin {

/// Asks for the name of a configuration file (".cfs2"). Both editors ask through this seam,
/// so that tests answer in place of the user.
class ConfigFileChooser {
  public:
    virtual ~ConfigFileChooser() = default;
    /// A file to write: the full path, or an empty string when the user cancelled.
    virtual QString ChooseFileToSave(QWidget* parent) = 0;
    /// An existing file to read: the full path, or an empty string when the user cancelled.
    virtual QString ChooseFileToOpen(QWidget* parent) = 0;
};

/// The standard file dialog with the filters "Config Files (*.cfs2)" and "All Files (*)".
/// A name typed without an extension gets ".cfs2"; saving over an existing file asks first.
/// The dialog starts in the folder of the file chosen last, kept in the preferences, else in
/// the user's documents folder (or home folder, when there is none): the program's own folder
/// is not writable on a desktop.
class QtConfigFileChooser final : public ConfigFileChooser {
  public:
    QString ChooseFileToSave(QWidget* parent) override;
    QString ChooseFileToOpen(QWidget* parent) override;
};

/// The folder a chooser starts in.
QString ConfigFileFolder();

}  // namespace ravelfin
