#include "ui/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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
    // QSettings reads its file as it is made: a named pipe there would keep the window from
    // ever starting, and a folder or device cannot hold settings. The file's kind is checked
    // first (the path comes from a settings object of a name that is never a file); anything
    // but a regular file leaves the program with its defaults, saving nothing.
    const QString path = settingsFileName(organisation);
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        qWarning("設定ファイル %s "
                 "は通常のファイルではありません。既定の設定で動き、設定は保存しません。",
                 qUtf8Printable(path));
        return QSettings(QString(), QSettings::IniFormat);
    }
    return QSettings(organisation, organisation);
}

QString settingsFileName(const QString& organisation) {
    const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, organisation,
                          QStringLiteral(".sorvane-settings-probe"));
    return QFileInfo(probe.fileName()).dir().filePath(organisation + QStringLiteral(".conf"));
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
