// sorvane-cli: the year's solar terms, 土用 entries and first-day names in a terminal.
#include "almanac/day_listing.h"
#include "almanac/year_almanac.h"
#include "cli/options.h"
#include "ephemeris/data_location.h"
#include "ephemeris/tables.h"
#include "export/days_document.h"
#include "export/icalendar.h"
#include "export/json_document.h"
#include "export/text_report.h"
#include "precise/precise_year.h"

#include <ctime>
#include <iostream>

int main(int argc, char** argv) {
    using namespace sorvane;
    cli::Options options;
    try {
        options = cli::parseArguments(std::vector<std::string>(argv + 1, argv + argc),
                                      cli::currentYear());
    } catch (const cli::UsageError& e) {
        std::cerr << "sorvane-cli: " << e.what() << " (see --help)\n";
        return 2;
    }
    if (options.help) {
        std::cout << cli::usageText();
        return 0;
    }

    Tables tables;
    try {
        tables = loadTables(options.dataDir ? *options.dataDir : findDataDir());
    } catch (const DataFileError& e) {
        std::cerr << "sorvane-cli: " << e.what() << "\n";
        return 1;
    }

    try {
        almanac::AlmanacOptions what;
        what.precise = options.precise;
        // The 雑節 (and so the extra searches) only when asked for, directly or by the ics.
        what.zassetsu = options.zassetsu || options.icsFile.has_value() || options.days;
        what.lunisolar = options.days || options.phases || options.icsFile.has_value();
        // The day listing takes the precise moments wherever the IAU model reaches.
        what.precise = options.precise || (options.days && precise::inRange(options.year));
        const almanac::YearAlmanac year = almanac::yearAlmanac(tables, options.year, what);
        if (options.icsFile) {
            exports::writeTextFile(*options.icsFile,
                                   exports::icsCalendar(year, std::time(nullptr)));
        }
        if (options.days || options.phases) {
            const auto days =
                options.days ? almanac::dayListing(tables, year) : std::vector<almanac::DayEntry>{};
            if (options.json) {
                std::cout << exports::daysJson(year, options.days ? &days : nullptr,
                                               options.phases);
            } else {
                std::cout << (options.phases ? exports::phasesReport(year) : "")
                          << exports::daysReport(days);
            }
        } else if (options.json) {
            std::cout << exports::yearJson(year, options.zassetsu);
        } else if (options.month != 0) {
            std::cout << exports::monthReport(year, options.month);
        } else {
            std::cout << exports::yearReport(year, options.zassetsu);
        }
    } catch (const std::exception& e) {
        std::cerr << "sorvane-cli: " << e.what() << "\n";
        return 1;
    }
    return std::cout.good() ? 0 : 1;
}
