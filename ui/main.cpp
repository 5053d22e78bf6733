// sorvane: the desktop program. Shows a year's solar terms, 土用 entries and first-day names.
#include "ephemeris/data_location.h"
#include "ephemeris/tables.h"
#include "ui/calendar_page.h"
#include "ui/data_files.h"
#include "ui/fonts.h"
#include "ui/form1.h"
#include "ui/icons.h"
#include "ui/settings.h"
#include "ui/startup_trace.h"
#include "ui/translations.h"

#include <QApplication>
#include <QFontInfo>
#include <QLocale>
#include <csignal>
#include <cstdio>
#include <optional>

int main(int argc, char** argv) {
    // Over a file-size limit write() then fails with EFBIG, which is reported, instead of the
    // signal ending the program.
#ifdef SIGXFSZ // Windows has neither signal
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // Likewise a pipe whose reader has quit: EPIPE, reported, instead of SIGPIPE.
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
    const sorvane::ui::StartupTrace trace;
    trace.mark("main");
    QApplication app(argc, argv);
    trace.mark("application");
    sorvane::ui::setApplicationNames();
    // The windows are Japanese whatever the locale: dates, month and day names, the week.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    sorvane::ui::installQtJapanese(app);
    trace.mark("translations");
    sorvane::ui::installFontSubstitutions();
    QApplication::setFont(sorvane::ui::programFont(9));
    if (trace.enabled()) {
        // Looks the font up now, so that the font system's start shows as a step of its own.
        (void)QFontInfo(QApplication::font()).family();
    }
    QApplication::setWindowIcon(sorvane::ui::mainWindowIcon());
    trace.mark("fonts");

    // "--print-calendar-pdf 2025-08 FILE" (or a whole year, "2025", and the options of
    // printCalendarPdf) prints calendar pages to a PDF file as 印刷… would, and ends: whatever
    // else is on the command line it never opens a window, not even for unreadable data
    // files, which are one line on standard error and status 1.
    const QStringList args = QApplication::arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--print-calendar-pdf")); at > 0) {
        std::optional<sorvane::Tables> tables;
        try {
            tables = sorvane::loadTables(sorvane::findDataDir());
        } catch (const sorvane::DataFileError& e) {
            std::fprintf(stderr, "sorvane: --print-calendar-pdf: %s\n", e.what());
            return 1;
        }
        return sorvane::ui::printCalendarPdf(*tables, args.mid(1, at - 1) + args.mid(at + 1));
    }
    auto tables = sorvane::ui::loadTablesOrReport(sorvane::findDataDir());
    if (!tables) {
        return 1;
    }
    trace.mark("data");
    sorvane::ui::Form1 form1(std::move(*tables));
    trace.mark("window");
    trace.markFirstPaint(&form1);
    form1.show();
    return QApplication::exec();
}
