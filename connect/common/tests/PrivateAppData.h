#pragma once
// Points the application-data folder (QStandardPaths::AppDataLocation) at a folder of this
// test program's own, for the whole program; call it before anything reads the folder.
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

inline void use_private_app_data()
{
#ifdef Q_OS_WIN
    // Windows takes the folder from the user's profile: the organisation names one of our own,
    // removed at the end.
    const QString organisation = QStringLiteral("connect-test-%1").arg(QCoreApplication::applicationPid());
    QCoreApplication::setOrganizationName(organisation);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const int at = data.indexOf(QLatin1Char('/') + organisation);
    static const struct Removal {
        QString folder;
        ~Removal() { if (!folder.isEmpty()) QDir(folder).removeRecursively(); }
    } removal{at > 0 ? data.left(at + 1 + organisation.size()) : QString()};
#else
    static QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", folder.path().toUtf8());
#endif
}
