#pragma once
// A program's start with the user's session, kept by name as one command text. On
// Windows it is the string value under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run; elsewhere the XDG
// autostart entry "<config home>/autostart/<name>.desktop", whose Exec line holds it.
#include <QString>

namespace autorun {

// The stored command; empty when there is none.
QString command(const QString &name);
// Creates or replaces the entry. False when it could not be written.
bool set_command(const QString &name, const QString &command);
// Removes the entry; true also when there was none.
bool remove(const QString &name);

} // namespace autorun
