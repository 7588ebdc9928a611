// The presets' file is read as the user left it: opening the store never rewrites it, and a
// file too large to load is kept aside or left alone, never cut.
#include "devices/UserColorSettings.h"

#include "common/tests/FileBytes.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QByteArray kPresets = "[COLOR1]\nRed=10\nGreen=20\nBlue=30\n\n[COLOR3]\nRed=1\nGreen=2\nBlue=3\n";
constexpr int kMaxBytes = 16 * 1024 * 1024;

QByteArray junk_sections(int bytes)
{
    QByteArray junk;
    for (int n = 0; junk.size() < bytes; ++n)
        junk += "[junk" + QByteArray::number(n) + "]\nvalue=" + QByteArray(200, 'j') + "\n";
    return junk;
}

std::unique_ptr<QSettings> open_store(const QString &path)
{
    return std::unique_ptr<QSettings>(open_user_color_settings(path, nullptr));
}

} // namespace

class UserColorFileTest : public QObject
{
    Q_OBJECT
private slots:
    void opening_leaves_the_file_as_it_is_data();
    void opening_leaves_the_file_as_it_is();
    void a_preset_written_keeps_the_other_keys();
    void an_oversized_file_is_kept_aside_whole();
    void an_oversized_file_that_cannot_be_moved_is_left_alone();
};

void UserColorFileTest::opening_leaves_the_file_as_it_is_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("presets after 1 MB of other sections") << junk_sections(1 << 20) + kPresets;
    QTest::newRow("comments and other keys")
        << "; my colours\n[General]\nx=1\n" + kPresets + "[COLOR1]\nAlpha=4\n[COLOR7]\nRed=5\n";
    QTest::newRow("just below the size limit") << kPresets + junk_sections(kMaxBytes - 300).left(kMaxBytes - kPresets.size());
}

void UserColorFileTest::opening_leaves_the_file_as_it_is()
{
    QFETCH(QByteArray, content);
    QTemporaryDir folder;
    const QString path = folder.filePath("user_color.ini");
    write_file(path, content);
    const QDateTime written = QFileInfo(path).lastModified();

    std::unique_ptr<QSettings> store = open_store(path);
    QCOMPARE(store->value("COLOR1/Green").toUInt(), 20u);
    QCOMPARE(store->value("COLOR3/Blue").toUInt(), 3u);
    store->sync();
    store.reset();
    QVERIFY(read_file(path) == content);
    QCOMPARE(QFileInfo(path).lastModified(), written);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"user_color.ini"});
}

void UserColorFileTest::a_preset_written_keeps_the_other_keys()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("user_color.ini");
    write_file(path, "[General]\nx=1\n" + junk_sections(100 << 10) + kPresets);
    open_store(path)->setValue("COLOR3/Red", 200);

    const QSettings file(path, QSettings::IniFormat);
    QCOMPARE(file.value("COLOR3/Red").toUInt(), 200u);
    QCOMPARE(file.value("COLOR1/Green").toUInt(), 20u);
    QCOMPARE(file.value("x").toInt(), 1);  // [General] holds the keys without a section
    QCOMPARE(file.value("junk400/value").toByteArray(), QByteArray(200, 'j'));
}

void UserColorFileTest::an_oversized_file_is_kept_aside_whole()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("user_color.ini");
    const QByteArray content = kPresets + junk_sections(kMaxBytes);
    write_file(path, content);
    write_file(path + ".bad", "an older one");

    std::unique_ptr<QSettings> store = open_store(path);
    QVERIFY(!store->contains("COLOR1/Red"));
    QVERIFY(read_file(path + ".bad") == content);
    store->setValue("COLOR2/Red", 7);
    store->sync();
    QCOMPARE(QSettings(path, QSettings::IniFormat).allKeys(), QStringList{"COLOR2/Red"});
}

void UserColorFileTest::an_oversized_file_that_cannot_be_moved_is_left_alone()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("user_color.ini");
    const QByteArray content = kPresets + junk_sections(kMaxBytes);
    write_file(path, content);
    QVERIFY(QDir(folder.path()).mkpath("user_color.ini.bad/occupied"));  // nothing replaces it

    std::unique_ptr<QSettings> store = open_store(path);
    store->setValue("COLOR2/Red", 7);
    QCOMPARE(store->value("COLOR2/Red").toInt(), 7);  // for this run
    store->sync();
    store.reset();
    QVERIFY(read_file(path) == content);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{"user_color.ini", "user_color.ini.bad"}));
}

QTEST_GUILESS_MAIN(UserColorFileTest)
#include "tst_user_color_file.moc"
