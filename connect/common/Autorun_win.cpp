// The Run value, through the plain Win32 calls of win32/RunKeyWin32.
#include "Autorun.h"

#include "win32/RunKeyWin32.h"

#include <QDebug>

namespace autorun {

QString command(const QString &name)
{
    std::wstring value;
    return run_value_read(name.toStdWString().c_str(), &value) ? QString::fromStdWString(value) : QString();
}

bool set_command(const QString &name, const QString &command)
{
    if (run_value_write(name.toStdWString().c_str(), command.toStdWString()))
        return true;
    qDebug() << "autorun cannot write the Run value" << name;
    return false;
}

bool remove(const QString &name)
{
    if (run_value_delete(name.toStdWString().c_str()))
        return true;
    qDebug() << "autorun cannot remove the Run value" << name;
    return false;
}

} // namespace autorun
