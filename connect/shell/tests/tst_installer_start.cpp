// Starting a downloaded installer: one that is there starts detached; a missing one fails at
// once, with no error box of the shell waiting for a click.
#include "shell/InstallerStart.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWaitMs = 20000;

// A script standing in for the installer: it leaves a file beside itself.
QString write_installer(const QTemporaryDir &folder, const QString &marker)
{
#ifdef Q_OS_WIN
    const QString path = folder.filePath("installer.bat");
    const QByteArray script = "@echo started> \"" + QDir::toNativeSeparators(marker).toUtf8() + "\"\r\n";
#else
    const QString path = folder.filePath("installer.sh");
    const QByteArray script = "#!/bin/sh\necho started > '" + marker.toUtf8() + "'\n";
#endif
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size())
        return QString();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

} // namespace

class InstallerStartTest : public QObject
{
    Q_OBJECT
private slots:
    void an_installer_starts_detached();
    void a_missing_installer_fails_at_once();
};

void InstallerStartTest::an_installer_starts_detached()
{
    QTemporaryDir folder;
    const QString marker = folder.filePath("started.txt");
    const QString installer = write_installer(folder, marker);
    QVERIFY(!installer.isEmpty());
    QVERIFY(start_installer(installer));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), kWaitMs);
}

void InstallerStartTest::a_missing_installer_fails_at_once()
{
    QTemporaryDir folder;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!start_installer(folder.filePath("Rerivez_setup_1.2.1.exe")));
    QVERIFY2(clock.elapsed() < kWaitMs, qPrintable(QString::number(clock.elapsed())));
}

QTEST_MAIN(InstallerStartTest)
#include "tst_installer_start.moc"
