#include "controls/config_file_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>

namespace ravelfin {

namespace {

const QString kFolderKey = QStringLiteral("Settings/ConfigFileFolder");

void RememberFolder(const QString& file) {
    QSettings().setValue(kFolderKey, QFileInfo(file).absolutePath());
}

QString Choose(QWidget* parent, QFileDialog::AcceptMode mode) {
    const bool save = mode == QFileDialog::AcceptSave;
    // Qt's own dialog everywhere: it adds the extension to a bare name and asks before
    // overwriting on every desktop, and it wears the program's look.
    QFileDialog dialog(parent, save ? QStringLiteral("Save As") : QStringLiteral("Open"),
                       ConfigFileFolder());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {QStringLiteral("Config Files (*.cfs2)"), QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("cfs2"));
    // Qt's dialog leaves its "Look in:" and "Files of type:" lists without the label a screen
    // reader names a list by (on Linux a list's own name is its current line).
    for (const auto& [label, list] :
         {std::pair{"lookInLabel", "lookInCombo"}, std::pair{"fileTypeLabel", "fileTypeCombo"}}) {
        auto* caption = dialog.findChild<QLabel*>(QLatin1String(label));
        auto* choices = dialog.findChild<QComboBox*>(QLatin1String(list));
        if (caption && choices && !caption->buddy())
            caption->setBuddy(choices);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString file = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    RememberFolder(file);
    return file;
}

}  // namespace

QString ConfigFileFolder() {
    const QString stored = QSettings().value(kFolderKey).toString();
    if (!stored.isEmpty() && QFileInfo(stored).isDir())
        return stored;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString QtConfigFileChooser::ChooseFileToSave(QWidget* parent) {
    return Choose(parent, QFileDialog::AcceptSave);
}

QString QtConfigFileChooser::ChooseFileToOpen(QWidget* parent) {
    return Choose(parent, QFileDialog::AcceptOpen);
}

}  // namespace ravelfin
