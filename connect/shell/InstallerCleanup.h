#pragma once
#include <QDir>
#include <QStringList>

// Deletes the installers "TAVRI_CONNECT_PC_V<major>.<minor>.<patch>.exe" in folder that are
// not newer than this program and returns the names of the newer ones, sorted by name.
// Other files are left alone.
QStringList clean_up_installers(const QDir &folder);

// The version number of an installer name, or -1 when the name is not an installer's.
// Only the last digit of the major number counts.
int installer_version(const QString &name);
