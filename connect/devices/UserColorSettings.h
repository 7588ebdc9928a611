#pragma once
class QObject;
class QSettings;
class QString;

// The six colour presets of the ZY5 lighting page: "user_color.ini" in the application
// data folder, sections COLOR1 to COLOR6 with the entries Red, Green and Blue. One object
// for the whole program, made on first use and owned by the application.
QSettings &user_color_settings();

// The preset store on the file at path. The file is read as it is, other keys and comments
// included. QSettings loads and rewrites a file whole, so a file above 16 MiB is never
// loaded: it is moved to "<path>.bad" (replacing an older one) and the store starts empty;
// where it cannot be moved it stays untouched and the store keeps its presets for this run
// only.
QSettings *open_user_color_settings(const QString &path, QObject *parent);
