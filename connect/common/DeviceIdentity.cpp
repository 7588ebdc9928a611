#include "DeviceIdentity.h"

namespace {
constexpr int kSerialKeyGap = 3;
constexpr int kSerialKeyLength = 8;
}

QString device_path_of(const QString &interface_path)
{
    return interface_path.left(interface_path.indexOf(QLatin1Char('}')) + 1);
}

QString serial_key_of(const QString &device_path, const QString &config_interface)
{
    const int at = device_path.indexOf(config_interface);
    if (at < 0)
        return QString();
    return device_path.mid(at + config_interface.size() + kSerialKeyGap, kSerialKeyLength);
}
