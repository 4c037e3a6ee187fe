#pragma once

#include <QString>
#include <QStringList>

namespace ravelfin {

/// Finds a file or folder that ships with the program: beside the executable, in the
/// installed data folder, then in the current folder. Returns its absolute path, or an empty
/// string when it is in none of them.
QString FindDataFile(const QString& relativeName);

/// Searches only `folders` from now on; an empty list restores the usual search. For tests
/// and tools that run outside an installation.
void OverrideDataFolders(const QStringList& folders);

}  // namespace ravelfin
