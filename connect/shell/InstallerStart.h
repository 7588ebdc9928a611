#pragma once
#include <QString>

// Starts a downloaded installer detached from connect; true when it started. A failure is
// logged with the system's error code.
bool start_installer(const QString &path);
