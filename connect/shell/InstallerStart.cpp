#include "InstallerStart.h"

#include <QDebug>
#include <QDir>

#ifdef Q_OS_WIN
#include "win32/ShellStartWin32.h"
#else
#include <QProcess>
#endif

bool start_installer(const QString &path)
{
#ifdef Q_OS_WIN
    const unsigned long error = shell_start(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()));
    if (error != 0)
        qDebug() << "installer" << path << "did not start, error" << error;
    return error == 0;
#else
    const bool started = QProcess::startDetached(path, {});
    if (!started)
        qDebug() << "installer" << path << "did not start";
    return started;
#endif
}
