#include "ui/settings.h"

namespace sorvane::ui {

namespace {

const QString kNotesKey = QStringLiteral("calendarPage/notes");
const QString kObservatoryKey = QStringLiteral("mainWindow/observatoryMode");

} // namespace

QSettings programSettings() {
    return QSettings(QStringLiteral("sorvane"), QStringLiteral("sorvane"));
}

bool savedNotesShown() {
    return programSettings().value(kNotesKey, false).toBool();
}

void saveNotesShown(bool shown) {
    programSettings().setValue(kNotesKey, shown);
}

bool savedObservatoryMode() {
    return programSettings().value(kObservatoryKey, false).toBool();
}

void saveObservatoryMode(bool on) {
    programSettings().setValue(kObservatoryKey, on);
}

} // namespace sorvane::ui
