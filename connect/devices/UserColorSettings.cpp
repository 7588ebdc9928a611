#include "UserColorSettings.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QPointer>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

constexpr qint64 kMaxPresetFileBytes = 64 * 1024;
constexpr int kPresetCount = 6;

QByteArray read_file(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The presets' entries of ini_bytes, as QSettings writes them.
QByteArray presets_of(const QByteArray &ini_bytes)
{
    QTemporaryDir scratch;
    const QString source_path = scratch.filePath(QStringLiteral("source.ini"));
    const QString kept_path = scratch.filePath(QStringLiteral("kept.ini"));
    QFile source_file(source_path);
    if (!scratch.isValid() || !source_file.open(QIODevice::WriteOnly) || source_file.write(ini_bytes) != ini_bytes.size())
        return ini_bytes;
    source_file.close();
    const QSettings source(source_path, QSettings::IniFormat);
    {
        QSettings kept(kept_path, QSettings::IniFormat);
        for (int n = 1; n <= kPresetCount; ++n)
            for (const char *entry : {"Red", "Green", "Blue"}) {
                const QString key = QStringLiteral("COLOR%1/%2").arg(n).arg(QLatin1String(entry));
                if (source.contains(key))
                    kept.setValue(key, source.value(key));
            }
    }
    return read_file(kept_path);
}

} // namespace

void compact_user_color_file(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArray head = file.read(kMaxPresetFileBytes);
    const bool cut = !file.atEnd();
    file.close();
    if (cut)
        head.truncate(head.lastIndexOf('\n') + 1);  // no half line
    const QByteArray presets = presets_of(head);
    if (!cut && presets == head)
        return;
    QSaveFile compacted(path);
    if (!compacted.open(QIODevice::WriteOnly) || compacted.write(presets) != presets.size() || !compacted.commit())
        qWarning() << "cannot compact" << path << compacted.errorString();
}

QSettings &user_color_settings()
{
    static QPointer<QSettings> settings;
    if (!settings) {
        const QString path =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/user_color.ini");
        compact_user_color_file(path);
        settings = new QSettings(path, QSettings::IniFormat, QCoreApplication::instance());
    }
    return *settings;
}
