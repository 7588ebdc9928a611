#include "InstallerCleanup.h"

#include "ProgramVersion.h"

#include <QDebug>
#include <QFile>
#include <QRegularExpression>

int installer_version(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^TAVRI_CONNECT_PC_V(\\d+)\\.(\\d+)\\.(\\d+)\\.exe$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return -1;
    bool minor_ok = false;
    bool patch_ok = false;
    const int major = match.captured(1).right(1).toInt();
    const int minor = match.captured(2).toInt(&minor_ok);
    const int patch = match.captured(3).toInt(&patch_ok);
    if (!minor_ok || !patch_ok || minor > 9999 || patch > 9999)
        return -1;
    return ProgramVersion::number(major, minor, patch);
}

QStringList clean_up_installers(const QDir &folder)
{
    QStringList newer;
    const QStringList names = folder.entryList({QStringLiteral("TAVRI_CONNECT_PC*.exe")},
                                               QDir::Files | QDir::Readable, QDir::Name);
    for (const QString &name : names) {
        const int version = installer_version(name);
        if (version < 0)
            continue;
        if (version > ProgramVersion::own_number()) {
            newer.append(name);
            continue;
        }
        qDebug() << name;
        QFile::remove(folder.filePath(name));
    }
    return newer;
}
