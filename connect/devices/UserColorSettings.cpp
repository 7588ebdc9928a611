#include "UserColorSettings.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>

namespace {

constexpr qint64 kMaxPresetFileBytes = 16 * 1024 * 1024;

// False when an oversized file is still at path.
bool keep_aside_if_oversized(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists() || file.size() <= kMaxPresetFileBytes)
        return true;
    const QString aside = path + QStringLiteral(".bad");
    QFile::remove(aside);
    if (!QFile::rename(path, aside)) {
        qWarning() << path << "is larger than" << kMaxPresetFileBytes << "bytes and cannot be moved to" << aside
                   << "; the colour presets are not stored this run";
        return false;
    }
    qWarning() << path << "is larger than" << kMaxPresetFileBytes << "bytes, kept aside as" << aside;
    return true;
}

} // namespace

QSettings *open_user_color_settings(const QString &path, QObject *parent)
{
    // A store without a file reads nothing and writes nowhere.
    const QString store_path = keep_aside_if_oversized(path) ? path : QString();
    return new QSettings(store_path, QSettings::IniFormat, parent);
}

QSettings &user_color_settings()
{
    static QPointer<QSettings> settings;
    if (!settings)
        settings = open_user_color_settings(
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/user_color.ini"),
            QCoreApplication::instance());
    return *settings;
}
