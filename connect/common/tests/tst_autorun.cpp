// The XDG autostart entry behind the autorun interface, in a private config folder.
#include "common/Autorun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class AutorunTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void an_absent_entry_reads_empty();
    void commands_round_trip_data();
    void commands_round_trip();
    void the_entry_is_a_desktop_file();
    void only_the_desktop_entry_group_counts();
    void removing_deletes_the_entry();
    void an_unwritable_folder_is_reported();

private:
    QString entry_file() const { return m_config->path() + "/autostart/Kelvane.desktop"; }
    void write_entry(const QByteArray &content) const;

    std::unique_ptr<QTemporaryDir> m_config;
};

void AutorunTest::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
}

void AutorunTest::write_entry(const QByteArray &content) const
{
    QVERIFY(QDir().mkpath(m_config->path() + "/autostart"));
    QFile file(entry_file());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void AutorunTest::an_absent_entry_reads_empty()
{
    QCOMPARE(autorun::command("Kelvane"), QString());
    QVERIFY(!QFile::exists(entry_file()));
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
    QVERIFY(autorun::set_command("Kelvane", command));
    QCOMPARE(autorun::command("Kelvane"), command);
}

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

void AutorunTest::removing_deletes_the_entry()
{
    QVERIFY(autorun::remove("Kelvane"));
    QVERIFY(autorun::set_command("Kelvane", "/opt/Kelvane.exe"));
    QVERIFY(autorun::remove("Kelvane"));
    QVERIFY(!QFile::exists(entry_file()));
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

QTEST_GUILESS_MAIN(AutorunTest)
#include "tst_autorun.moc"
