#pragma once
#include <QString>

// Kelvane is delivered in a folder "Kelvane" beside connect's own executable; this is
// its full path in native form, independent of the current directory.
QString kelvane_program();

// The autorun entry Kelvane and connect both switch.
inline const QString kelvane_autorun_name = QStringLiteral("Kelvane");
