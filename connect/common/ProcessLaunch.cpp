#include "ProcessLaunch.h"

#include <QProcess>

namespace {

class SystemLauncher : public ProcessLauncher
{
public:
    bool start_detached(const QString &program, const QString &working_directory) override
    {
        return QProcess::startDetached(program, {}, working_directory);
    }
};

ProcessLauncher *replacement = nullptr;

} // namespace

ProcessLauncher &process_launcher()
{
    static SystemLauncher system;
    return replacement ? *replacement : system;
}

void set_process_launcher(ProcessLauncher *launcher)
{
    replacement = launcher;
}
