// The autorun interface: on Windows the current user's Run key, under a value name of the
// test's own; elsewhere the XDG autostart entry, in a private config folder.
#include "common/Autorun.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {
#ifdef Q_OS_WIN
const QString kName = QStringLiteral("ConnectAutorunTest");
#else
const QString kName = QStringLiteral("Kelvane");
#endif
}

class AutorunTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void an_absent_entry_reads_empty();
    void commands_round_trip_data();
    void commands_round_trip();
    void removing_deletes_the_entry();
#ifdef Q_OS_WIN
    void the_entry_is_a_run_value();
    void a_value_that_is_no_text_reads_empty();
#else
    void the_entry_is_a_desktop_file();
    void only_the_desktop_entry_group_counts();
    void an_unwritable_folder_is_reported();
#endif

private:
    bool entry_exists() const;
#ifndef Q_OS_WIN
    QString entry_file() const { return m_config->path() + "/autostart/Kelvane.desktop"; }
    void write_entry(const QByteArray &content) const;

    std::unique_ptr<QTemporaryDir> m_config;
#endif
};

#ifdef Q_OS_WIN
namespace {
// The Run key as anyone else reads and writes it.
std::unique_ptr<QSettings> run_key()
{
    return std::make_unique<QSettings>("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                       QSettings::NativeFormat);
}
}

void AutorunTest::init()
{
    cleanup();
}

void AutorunTest::cleanup()
{
    run_key()->remove(kName);
}

bool AutorunTest::entry_exists() const
{
    return run_key()->contains(kName);
}

void AutorunTest::the_entry_is_a_run_value()
{
    QVERIFY(autorun::set_command(kName, "C:\\a b\\Kelvane.exe"));
    QCOMPARE(run_key()->value(kName).toString(), QString("C:\\a b\\Kelvane.exe"));
    run_key()->setValue(kName, "D:\\Kelvane\\Kelvane.exe");  // as Kelvane's tray menu writes it
    QCOMPARE(autorun::command(kName), QString("D:\\Kelvane\\Kelvane.exe"));
}

void AutorunTest::a_value_that_is_no_text_reads_empty()
{
    QVERIFY(run_key()->isWritable());
    run_key()->setValue(kName, 7);  // a DWORD
    QCOMPARE(autorun::command(kName), QString());
    QVERIFY(autorun::remove(kName));
    QVERIFY(!entry_exists());
}
#else
void AutorunTest::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
}

void AutorunTest::cleanup()
{
}

bool AutorunTest::entry_exists() const
{
    return QFile::exists(entry_file());
}

void AutorunTest::write_entry(const QByteArray &content) const
{
    QVERIFY(QDir().mkpath(m_config->path() + "/autostart"));
    QFile file(entry_file());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}
#endif

void AutorunTest::an_absent_entry_reads_empty()
{
    QCOMPARE(autorun::command(kName), QString());
    QVERIFY(!entry_exists());
}

void AutorunTest::commands_round_trip_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("plain") << "/opt/tavri/Kelvane/Kelvane.exe";
    QTest::newRow("spaces") << "/home/a b/Kelvane/Kelvane.exe";
    QTest::newRow("quotes and dollar") << "/x/\"q\"/$HOME/`t`/Kelvane.exe";
    QTest::newRow("backslashes") << "C:\\Program Files\\Kelvane\\Kelvane.exe";
    QTest::newRow("percent") << "/x/100%/%f/Kelvane.exe";
    QTest::newRow("non-ASCII") << "/home/用户/Kelvane/Kelvane.exe";
    QTest::newRow("tab and newline") << "/x/a\tb\nc/Kelvane.exe";
}

void AutorunTest::commands_round_trip()
{
    QFETCH(QString, command);
    QVERIFY(autorun::set_command(kName, command));
    QCOMPARE(autorun::command(kName), command);
}

void AutorunTest::removing_deletes_the_entry()
{
    QVERIFY(autorun::remove(kName));
    QVERIFY(autorun::set_command(kName, "/opt/Kelvane.exe"));
    QVERIFY(entry_exists());
    QVERIFY(autorun::remove(kName));
    QVERIFY(!entry_exists());
    QCOMPARE(autorun::command(kName), QString());
}

#ifndef Q_OS_WIN
void AutorunTest::the_entry_is_a_desktop_file()
{
    QVERIFY(autorun::set_command("Kelvane", "/home/a b/Kelvane.exe"));
    QFile file(entry_file());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.value(0), QByteArray("[Desktop Entry]"));
    QVERIFY(lines.contains("Type=Application"));
    QVERIFY(lines.contains("Name=Kelvane"));
    QVERIFY(lines.contains("Exec=\"/home/a b/Kelvane.exe\""));
}

void AutorunTest::only_the_desktop_entry_group_counts()
{
    write_entry("[Desktop Action Other]\nExec=/other\n[Desktop Entry]\nName=Kelvane\nExec=/opt/Kelvane.exe\n");
    QCOMPARE(autorun::command("Kelvane"), QString("/opt/Kelvane.exe"));
    write_entry("[Desktop Entry]\nName=Kelvane\n");
    QCOMPARE(autorun::command("Kelvane"), QString());
}


void AutorunTest::an_unwritable_folder_is_reported()
{
    QFile blocker(m_config->path() + "/autostart");  // a file where the folder belongs
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^autorun cannot write"));
    QVERIFY(!autorun::set_command("Kelvane", "/opt/Kelvane.exe"));
}

#endif

QTEST_GUILESS_MAIN(AutorunTest)
#include "tst_autorun.moc"
