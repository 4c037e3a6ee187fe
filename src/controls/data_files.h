#pragma once

#include <QString>

namespace ravelfin {

/// Finds a file or folder that ships with the program: beside the executable, in the
/// installed data folder, then in the current folder. Returns its absolute path, or an empty
/// string when it is in none of them.
QString FindDataFile(const QString& relativeName);

/// Puts one more folder in front of the search (used by tests and the screenshot tool).
void AddDataFolder(const QString& folder);

}  // namespace ravelfin
