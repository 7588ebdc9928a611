// The XDG autostart entry. The command is the Exec
// line's single argument, quoted and escaped as the Desktop Entry format asks.
#include "Autorun.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

namespace {

const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");

QString entry_path(const QString &name)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/") +
           name + QStringLiteral(".desktop");
}

bool has_reserved(const QString &text)
{
    for (QChar c : text)
        if (kReserved.contains(c))
            return true;
    return false;
}

// Exec's argument quoting, then the general escaping of string values.
QString exec_value(const QString &command)
{
    QString argument = QString(command).replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (has_reserved(argument)) {
        QString quoted = QStringLiteral("\"");
        for (QChar c : argument) {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        argument = quoted + QLatin1Char('"');
    }
    QString value;
    for (QChar c : argument) {
        if (c == '\\')
            value += QStringLiteral("\\\\");
        else if (c == '\n')
            value += QStringLiteral("\\n");
        else if (c == '\t')
            value += QStringLiteral("\\t");
        else if (c == '\r')
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}

QString unescape_string(const QString &value)
{
    QString text;
    for (int i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const QChar next = value[++i];
        text += next == 's' ? QChar(' ') : next == 'n' ? QChar('\n') : next == 't' ? QChar('\t')
              : next == 'r' ? QChar('\r') : next;
    }
    return text;
}

// A value that is not one quoted or plain argument is returned as written.
QString command_of(const QString &exec)
{
    QString argument = unescape_string(exec);
    if (argument.size() >= 2 && argument.startsWith('"') && argument.endsWith('"')) {
        QString inner;
        for (int i = 1; i < argument.size() - 1; ++i) {
            if (argument[i] == '\\' && i + 2 < argument.size())
                ++i;
            inner += argument[i];
        }
        argument = inner;
    }
    return argument.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

} // namespace

namespace autorun {

QString command(const QString &name)
{
    QFile file(entry_path(name));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream in(&file);
    in.setCodec("UTF-8");
    bool in_entry = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith('['))
            in_entry = line == QStringLiteral("[Desktop Entry]");
        else if (in_entry && line.startsWith(QStringLiteral("Exec=")))
            return command_of(line.mid(5));
    }
    return QString();
}

bool set_command(const QString &name, const QString &command)
{
    const QString path = entry_path(name);
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qDebug() << "autorun cannot write" << path << file.errorString();
        return false;
    }
    QTextStream out(&file);
    out.setCodec("UTF-8");
    out << "[Desktop Entry]\nType=Application\nName=" << name << "\nExec=" << exec_value(command) << "\n";
    out.flush();
    if (!file.commit()) {
        qDebug() << "autorun cannot write" << path << file.errorString();
        return false;
    }
    return true;
}

bool remove(const QString &name)
{
    QFile file(entry_path(name));
    if (!file.exists() || file.remove())
        return true;
    qDebug() << "autorun cannot remove" << file.fileName() << file.errorString();
    return false;
}

} // namespace autorun
