// The presets' file is cut down to the presets, reading a bounded part of it.
#include "devices/UserColorSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kPresets = "[COLOR1]\nRed=10\nGreen=20\nBlue=30\n\n[COLOR3]\nRed=1\nGreen=2\nBlue=3\n";

QByteArray junk_sections(int bytes)
{
    QByteArray junk;
    for (int n = 0; junk.size() < bytes; ++n)
        junk += "[junk" + QByteArray::number(n) + "]\nvalue=" + QByteArray(200, 'j') + "\n";
    return junk;
}

QByteArray read_file(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class UserColorFileTest : public QObject
{
    Q_OBJECT
private slots:
    void only_the_presets_are_kept_data();
    void only_the_presets_are_kept();
    void a_file_of_presets_only_is_left_alone();
};

void UserColorFileTest::only_the_presets_are_kept_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("keys");  // what remains

    const QStringList presets{"COLOR1/Blue", "COLOR1/Green", "COLOR1/Red",
                              "COLOR3/Blue", "COLOR3/Green", "COLOR3/Red"};
    QTest::newRow("20 MB of other sections after the presets") << kPresets + junk_sections(20 << 20) << presets;
    QTest::newRow("other sections and entries")
        << "[General]\nx=1\n" + kPresets + "[COLOR1]\nAlpha=4\n[COLOR7]\nRed=5\n" << presets;
    QTest::newRow("presets beyond the part read") << junk_sections(1 << 20) + kPresets << QStringList();
}

void UserColorFileTest::only_the_presets_are_kept()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, keys);
    QTemporaryDir folder;
    const QString path = folder.filePath("user_color.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    compact_user_color_file(path);
    QVERIFY(QFileInfo(path).size() < 1024);
    QSettings settings(path, QSettings::IniFormat);
    QStringList remaining = settings.allKeys();
    remaining.sort();
    QCOMPARE(remaining, keys);
    if (!keys.isEmpty())
        QCOMPARE(settings.value("COLOR1/Green").toUInt(), 20u);
}

void UserColorFileTest::a_file_of_presets_only_is_left_alone()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("user_color.ini");
    {
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue("COLOR2/Red", 255);
        settings.setValue("COLOR2/Green", 135);
        settings.setValue("COLOR2/Blue", 0);
    }
    const QByteArray before = read_file(path);
    const QDateTime written = QFileInfo(path).lastModified();
    compact_user_color_file(path);
    QCOMPARE(read_file(path), before);
    QCOMPARE(QFileInfo(path).lastModified(), written);

    compact_user_color_file(folder.filePath("missing.ini"));
    QVERIFY(!QFile::exists(folder.filePath("missing.ini")));
}

QTEST_GUILESS_MAIN(UserColorFileTest)
#include "tst_user_color_file.moc"
