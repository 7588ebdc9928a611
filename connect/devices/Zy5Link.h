#pragma once
// Exchanges with the ZY5 mouse. Each opens its interface by path, writes, reads what it
// asks for and closes again; nothing is held between exchanges. Failures are logged to
// the debug output.
#include "Zy5Protocol.h"

#include <QString>

namespace zy5 {

// Writes a command and waits up to 100 ms for its reply: the bytes read. Nothing when the
// interface cannot be opened, the write or read fails, or no reply comes.
std::optional<QByteArray> ask(const QString &command_path, const QByteArray &request);

// Writes a command that has no reply. False when it could not be written.
bool tell(const QString &command_path, const QByteArray &request);

enum class MacroWrite { Written, TooLong, Failed };

// Assigns the macro to the button on the command interface, then sends its events on the
// macro interface, stopping at the first report that fails. A macro of more than
// kMaxMacroEvents events is refused whole, and a macro interface that does not open leaves
// the assignment untouched.
MacroWrite write_macro(const QString &command_path, const QString &macro_path, std::uint8_t button,
                       bool record_delay, const std::vector<MacroEvent> &events);

// Reads count events of the button's macro; nothing when any report of it fails.
std::optional<std::vector<MacroEvent>> read_macro(const QString &macro_path, std::uint8_t button, int count);

} // namespace zy5
