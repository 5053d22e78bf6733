#include "cli/options.h"

#include "calendar/year_text.h"
#include "lunisolar/lunisolar_year.h"
#include "precise/precise_year.h"

#include <ctime>

namespace sorvane::cli {

namespace {

bool looksLikeNumber(const std::string& s) {
    std::size_t i = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
    if (i >= s.size()) {
        return false;
    }
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') {
            return false;
        }
    }
    return true;
}

int parseMonth(const std::string& text) {
    if (!looksLikeNumber(text) || text.size() > 3) {
        throw UsageError("--month \"" + text + "\" is not a month 1..12");
    }
    const int month = std::stoi(text);
    if (month < 1 || month > 12) {
        throw UsageError("--month " + text + " is not a month 1..12");
    }
    return month;
}

} // namespace

Options parseArguments(const std::vector<std::string>& args, std::int16_t currentYear) {
    Options options;
    options.year = currentYear;
    bool yearGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](const std::string& name) -> std::string {
            const std::string prefix = name + "=";
            if (arg.rfind(prefix, 0) == 0) {
                return arg.substr(prefix.size());
            }
            if (i + 1 >= args.size()) {
                throw UsageError(name + " needs a value");
            }
            return args[++i];
        };
        auto is = [&](const std::string& name) {
            return arg == name || arg.rfind(name + "=", 0) == 0;
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (is("--month")) {
            options.month = parseMonth(value("--month"));
        } else if (is("--data")) {
            options.dataDir = value("--data");
        } else if (arg == "--precise") {
            options.precise = true;
        } else if (arg == "--zassetsu") {
            options.zassetsu = true;
        } else if (arg == "--days") {
            options.days = true;
        } else if (arg == "--phases") {
            options.phases = true;
        } else if (is("--ics")) {
            const std::string file = value("--ics");
            if (file.empty()) {
                throw UsageError("--ics needs a file name");
            }
            options.icsFile = file;
        } else if (looksLikeNumber(arg)) {
            if (yearGiven) {
                throw UsageError("a second year \"" + arg + "\"");
            }
            try {
                options.year = parseYearText(arg);
            } catch (const YearTextError& e) {
                throw UsageError(e.what());
            }
            yearGiven = true;
        } else if (!arg.empty() && arg[0] == '-') {
            throw UsageError("unknown option \"" + arg + "\"");
        } else {
            throw UsageError("year \"" + arg + "\" is not a whole number");
        }
    }
    if (options.precise && !precise::inRange(options.year)) {
        throw UsageError("--precise covers the years " + std::to_string(precise::kFirstYear) +
                         ".." + std::to_string(precise::kLastYear) +
                         " (the range of the IAU model); " + yearText(options.year) +
                         " is outside it");
    }
    if (options.phases && !lunisolar::inRange(options.year)) {
        throw UsageError("--phases covers the years " + std::to_string(lunisolar::kFirstYear) +
                         ".." + std::to_string(lunisolar::kLastYear) +
                         " (the range of the Moon's theory and the lunisolar calendar); " +
                         yearText(options.year) + " is outside it");
    }
    return options;
}

std::string usageText() {
    return "usage: sorvane-cli [YEAR] [--month M] [--json] [--precise] [--zassetsu]\n"
           "                   [--days] [--phases] [--ics FILE] [--data DIR]\n"
           "\n"
           "Prints the moments of the 24 solar terms and the four 土用 entries of YEAR\n"
           "(default: the current year) in Japan Standard Time, then the sexagenary name\n"
           "of each month's first day.\n"
           "\n"
           "  YEAR        a whole number from -32768 to 32767 (year 0 is 1 BC)\n"
           "  --month M   list the days of month M (1..12) with weekday and sexagenary name\n"
           "  --json      print the year as one JSON document\n"
           "  --precise   compute the moments from the IAU model of the Sun's apparent\n"
           "              longitude, with leap seconds (years 1900..2100)\n"
           "  --zassetsu  also list the 雑節: 節分, 彼岸, 八十八夜, 入梅, 半夏生, 二百十日,\n"
           "              二百二十日 and the four 土用 with their 丑の日\n"
           "  --days      instead, one tab-separated line per day: date, weekday, 干支,\n"
           "              lunisolar date (閏 for a leap month), 六曜, national holiday and\n"
           "              the day's events (terms, 土用, 雑節, 朔弦望 with JST times;\n"
           "              旧正月, 伝統的七夕, 十五夜, 十三夜); precise moments in 1900..2100,\n"
           "              the default theory and \"-\" for the lunisolar fields outside it\n"
           "  --phases    instead, the year's 朔, 上弦, 望 and 下弦, \"MM-DD HH:MM  朔\"\n"
           "              (years 1900..2100); with --json either comes as JSON\n"
           "  --ics FILE  also write the terms, 土用 and 雑節 as an iCalendar file, and in\n"
           "              1900..2100 the 朔 and 望 and the lunisolar days\n"
           "  --data DIR  read planet.txt and latitude.txt from DIR\n"
           "  --help      show this text\n"
           "\n"
           "The Moon is eraMoon98 (IAU SOFA/ERFA): its new moons 1900-2100 lie within 19 s\n"
           "(5.7 s rms) of a JPL-based ephemeris, on the same JST date every time, and on\n"
           "the same minute 88 % of the time (a few seconds either way move a minute).\n"
           "\n"
           "Exit status: 0 success, 1 data-file error, 2 bad argument.\n";
}

std::int16_t currentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<std::int16_t>(local.tm_year + 1900);
}

} // namespace sorvane::cli
