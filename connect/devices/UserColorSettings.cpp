#include "UserColorSettings.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>

QSettings &user_color_settings()
{
    static QPointer<QSettings> settings;
    if (!settings)
        settings = new QSettings(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                                     QStringLiteral("/user_color.ini"),
                                 QSettings::IniFormat, QCoreApplication::instance());
    return *settings;
}
