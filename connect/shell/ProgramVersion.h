#pragma once
#include <QString>

// connect's own version, 1.1.0.
struct ProgramVersion {
    static constexpr int major = 1;
    static constexpr int minor = 1;
    static constexpr int patch = 0;

    // Versions compare as major * 10000 + minor * 100 + patch.
    static constexpr int number(int major, int minor, int patch) { return major * 10000 + minor * 100 + patch; }
    static constexpr int own_number() { return number(major, minor, patch); }
    static QString text() { return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(patch); }
};
