// sorvane-cli: the year's solar terms, 土用 entries and first-day names in a terminal.
#include "almanac/year_almanac.h"
#include "cli/options.h"
#include "ephemeris/data_location.h"
#include "ephemeris/tables.h"
#include "export/icalendar.h"
#include "export/json_document.h"
#include "export/text_report.h"

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
        what.zassetsu = options.zassetsu || options.icsFile.has_value();
        what.holidays = options.holidays || options.icsFile.has_value();
        const almanac::YearAlmanac year = almanac::yearAlmanac(tables, options.year, what);
        if (options.icsFile) {
            exports::writeTextFile(*options.icsFile,
                                   exports::icsCalendar(year, std::time(nullptr)));
        }
        if (options.json) {
            std::cout << exports::yearJson(year, options.zassetsu, options.holidays);
        } else if (options.month != 0) {
            std::cout << exports::monthReport(year, options.month);
        } else if (options.holidays) {
            if (options.year < holidays::kFirstYear) {
                std::cerr << "sorvane-cli: no national holidays before 1948-07-20, the day the "
                             "holiday law took effect\n";
            }
            std::cout << exports::holidayReport(year);
        } else {
            std::cout << exports::yearReport(year, options.zassetsu);
        }
    } catch (const std::exception& e) {
        std::cerr << "sorvane-cli: " << e.what() << "\n";
        return 1;
    }
    return std::cout.good() ? 0 : 1;
}
