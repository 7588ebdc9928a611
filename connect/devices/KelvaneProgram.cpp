#include "KelvaneProgram.h"

#include <QCoreApplication>
#include <QDir>

QString kelvane_program()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QStringLiteral("/Kelvane/Kelvane.exe"));
}
