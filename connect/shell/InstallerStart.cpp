#include "InstallerStart.h"

#include <QDir>

#ifdef Q_OS_WIN
#include "win32/ShellStartWin32.h"
#else
#include <QProcess>
#endif

bool start_installer(const QString &path)
{
#ifdef Q_OS_WIN
    return shell_start(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()));
#else
    return QProcess::startDetached(path, {});
#endif
}
