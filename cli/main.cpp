// sorvane-cli: the year's solar terms, 土用 entries and first-day names in a terminal.
#include "cli/ics_export.h"
#include "cli/options.h"
#include "cli/report.h"
#include "cli/year_almanac.h"
#include "ephemeris/data_location.h"
#include "ephemeris/tables.h"
#include "finder/finder.h"

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
        Finder finder(tables);
        finder.calculate(options.year);
        // The 雑節 (and so the extra searches) only when asked for, directly or by the ics.
        const bool needsZassetsu = options.zassetsu || options.icsFile.has_value();
        const cli::YearAlmanac almanac = options.precise ? cli::preciseAlmanac(tables, options.year)
                                         : needsZassetsu ? cli::defaultAlmanac(finder)
                                                         : cli::defaultEvents(finder);
        if (options.icsFile) {
            cli::writeTextFile(*options.icsFile,
                               cli::icsCalendar(tables, almanac, std::time(nullptr)));
        }
        if (options.json) {
            std::cout << cli::yearJson(tables, finder, almanac, options.zassetsu);
        } else if (options.month != 0) {
            std::cout << cli::monthReport(tables, finder, options.month);
        } else {
            std::cout << cli::yearReport(tables, finder, almanac, options.zassetsu);
        }
    } catch (const std::exception& e) {
        std::cerr << "sorvane-cli: " << e.what() << "\n";
        return 1;
    }
    return std::cout.good() ? 0 : 1;
}
