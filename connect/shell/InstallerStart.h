#pragma once
#include <QString>

// Starts a downloaded installer detached from connect; true when it started.
bool start_installer(const QString &path);
