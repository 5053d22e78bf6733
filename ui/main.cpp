// sorvane: the desktop program. Shows a year's solar terms, 土用 entries and first-day names.
#include "ephemeris/data_location.h"
#include "ui/data_files.h"
#include "ui/fonts.h"
#include "ui/form1.h"
#include "ui/icons.h"
#include "ui/translations.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorvane"));
    QApplication::setDesktopFileName(QStringLiteral("sorvane"));
    sorvane::ui::installQtJapanese(app);
    sorvane::ui::installFontSubstitutions();
    QApplication::setFont(sorvane::ui::programFont(9));
    QApplication::setWindowIcon(sorvane::ui::mainWindowIcon());

    auto tables = sorvane::ui::loadTablesOrReport(sorvane::findDataDir());
    if (!tables) {
        return 1;
    }
    sorvane::ui::Form1 form1(std::move(*tables));
    form1.show();
    return QApplication::exec();
}
