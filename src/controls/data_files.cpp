#include "controls/data_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ravelfin {

namespace {

QStringList& OverriddenFolders() {
    static QStringList folders;
    return folders;
}

QStringList UsualFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    return {program, QStringLiteral(RAVELFIN_DATA_DIR),
            program + QStringLiteral("/../share/ravelfin-config"), QDir::currentPath()};
}

}  // namespace

void OverrideDataFolders(const QStringList& folders) {
    OverriddenFolders() = folders;
}

QString FindDataFile(const QString& relativeName) {
    const QStringList folders =
        OverriddenFolders().isEmpty() ? UsualFolders() : OverriddenFolders();
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder), relativeName);
        if (candidate.exists())
            return candidate.absoluteFilePath();
    }
    return {};
}

}  // namespace ravelfin
