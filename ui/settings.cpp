#include "ui/settings.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace sorvane::ui {

namespace {

const QString kOrganisation = QStringLiteral("sorvane");
const QString kNotesKey = QStringLiteral("calendarPage/notes");
const QString kObservatoryKey = QStringLiteral("mainWindow/observatoryMode");

} // namespace

void setApplicationNames() {
    QCoreApplication::setOrganizationName(kOrganisation);
    QCoreApplication::setApplicationName(QStringLiteral("Sorvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("sorvane"));
}

QSettings programSettings() {
    // A program that did not set the names (a test, a benchmark) files them in the same place.
    const QString organisation = QCoreApplication::organizationName().isEmpty()
                                     ? kOrganisation
                                     : QCoreApplication::organizationName();
    return QSettings(organisation, organisation);
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
