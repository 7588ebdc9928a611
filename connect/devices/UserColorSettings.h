#pragma once
class QSettings;
class QString;

// The six colour presets of the ZY5 lighting page: "user_color.ini" in the application
// data folder, sections COLOR1 to COLOR6 with the entries Red, Green and Blue. One object
// for the whole program, made on first use (after compact_user_color_file) and owned by the
// application.
QSettings &user_color_settings();

// Keeps only the presets' entries of the file at path, reading at most its first 64 KiB, so
// that a grown file costs nothing at each store. The file is replaced whole, and only when
// this changes it.
void compact_user_color_file(const QString &path);
