#pragma once
#include <QString>

// Starts programs detached from connect. Tests put a recorder in place of the system's.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;
    // True when the program started.
    virtual bool start_detached(const QString &program, const QString &working_directory) = 0;
};

// The launcher in use: the system's unless replaced.
ProcessLauncher &process_launcher();
// Replaces the launcher; null restores the system's. The caller keeps ownership.
void set_process_launcher(ProcessLauncher *launcher);
