// The choices the program keeps between runs, all in one settings file: the calendar page's
// 暦注, the mode of the times and the place of the rising and setting times (place_menu.h).
#pragma once

#include <QSettings>

namespace sorvane::ui {

// The application's names: its organisation name "sorvane", under which the settings are
// filed, its name "Sorvane" and its desktop file. main() sets them before the first window.
void setApplicationNames();

// The program's settings file, named after the application's organisation name
// (~/.config/sorvane/sorvane.conf); the one place that opens it.
// When that path holds anything but a regular file (a named pipe, a folder), the settings are
// the defaults and nothing is saved, with a warning on standard error.
QSettings programSettings();

// The path of the settings file of ORGANISATION (~/.config/ORGANISATION/ORGANISATION.conf, or
// below the folder QSettings::setPath gave), without reading it.
QString settingsFileName(const QString& organisation);

// 暦 → 月の暦に暦注を表示 (off when never chosen).
bool savedNotesShown();
void saveNotesShown(bool shown);

// 暦 → 国立天文台と同じ計算方法で表示 (off when never chosen).
bool savedObservatoryMode();
void saveObservatoryMode(bool on);

} // namespace sorvane::ui
