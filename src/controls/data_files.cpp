#include "controls/data_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace ravelfin {

namespace {

QStringList& ExtraFolders() {
    static QStringList folders;
    return folders;
}

}  // namespace

void AddDataFolder(const QString& folder) { ExtraFolders().prepend(folder); }

QString FindDataFile(const QString& relativeName) {
    QStringList folders = ExtraFolders();
    folders << QCoreApplication::applicationDirPath()
            << QStringLiteral(RAVELFIN_DATA_DIR)
            << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/ravelfin-config")
            << QDir::currentPath();
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder), relativeName);
        if (candidate.exists()) return candidate.absoluteFilePath();
    }
    return {};
}

}  // namespace ravelfin
