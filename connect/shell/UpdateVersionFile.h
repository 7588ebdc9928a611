#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// The server's version file: line 1 a label whose second character is a decimal digit,
// line 3 the offered version number (major * 10000 + minor * 100 + patch), line 4 the
// firmware version. Lines end in LF or CR LF.
struct UpdateVersionFile {
    QStringList lines;       // trimmed, up to the first NUL of the body
    bool valid = false;      // more than 3 lines and a good label
    int offered = 0;         // 0 when line 3 is no number
    QString firmware;

    static UpdateVersionFile parse(const QByteArray &body);
};

// "TAVRI_CONNECT_PC_V<major>.<minor>.<patch>.exe" of a version number.
QString installer_name_of(int version_number);
