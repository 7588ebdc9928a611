#pragma once
// One exchange with the QV8 receiver: open by device path, write one report, read at
// most one reply, close. Failures are logged to the debug output.
#include <QByteArray>
#include <QString>

#include <optional>

namespace qv8 {

// Waits up to 100 ms for the reply. Nothing when the receiver cannot be opened;
// otherwise the bytes actually read, empty when it did not answer.
std::optional<QByteArray> ask(const QString &path, const QByteArray &report);

// Reads once without waiting and ignores the answer. False when the receiver
// cannot be opened.
bool tell(const QString &path, const QByteArray &report);

} // namespace qv8
