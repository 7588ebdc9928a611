#pragma once
// A test's files, read and written whole.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// Empty when the file cannot be read.
inline QByteArray read_file(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The test fails when the file cannot be written.
inline void write_file(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), qint64(content.size()));
}
