#pragma once
#include <QString>

// The device path: the interface path up to and including its first "}" (the end of the
// interface-class GUID); empty when there is none.
QString device_path_of(const QString &interface_path);

// The serial key: 8 characters starting 3 after the end of config_interface in the
// device path (fewer at the end of the path; empty when config_interface is absent).
QString serial_key_of(const QString &device_path, const QString &config_interface);
