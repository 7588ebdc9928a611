#pragma once
class QSettings;

// The six colour presets of the ZY5 lighting page: "user_color.ini" in the application
// data folder, sections COLOR1 to COLOR6 with the entries Red, Green and Blue. One object
// for the whole program, made on first use and owned by the application.
QSettings &user_color_settings();
