#include "UpdateVersionFile.h"

namespace {

bool is_label(const QString &line)
{
    return line.size() >= 2 && line[1] >= QLatin1Char('0') && line[1] <= QLatin1Char('9');
}

} // namespace

UpdateVersionFile UpdateVersionFile::parse(const QByteArray &body)
{
    UpdateVersionFile file;
    const QByteArray text = body.left(body.indexOf('\0') < 0 ? body.size() : body.indexOf('\0'));
    for (const QString &line : QString::fromUtf8(text).split(QLatin1Char('\n')))
        file.lines.append(line.trimmed());
    file.valid = file.lines.size() > 3 && is_label(file.lines[0]);
    if (!file.valid)
        return file;
    bool number = false;
    file.offered = file.lines[2].toInt(&number);
    if (!number)
        file.offered = 0;
    file.firmware = file.lines[3];
    return file;
}

QString installer_name_of(int version_number)
{
    return QStringLiteral("TAVRI_CONNECT_PC_V%1.%2.%3.exe")
        .arg(version_number / 10000)
        .arg(version_number % 10000 / 100)
        .arg(version_number % 100);
}
