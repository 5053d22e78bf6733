#include "cli/options.h"

#include "almanac/coverage.h"
#include "calendar/jst.h"
#include "calendar/path_text.h"
#include "calendar/year_text.h"

#include <algorithm>
#include <ctime>

namespace sorvane::cli {

namespace {

using almanac::coverage;
using almanac::covers;
using almanac::Source;
using almanac::spanText;

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
        throw UsageError("--month " + quotedArgument(text) + " is not a month 1..12");
    }
    const int month = std::stoi(text);
    if (month < 1 || month > 12) {
        throw UsageError("--month " + quotedArgument(text) + " is not a month 1..12");
    }
    return month;
}

// A date written YYYY-MM-DD (the year may have a leading '-' and more digits), checked
// against the calendar.
CivilDate parseDate(const std::string& option, const std::string& text) {
    const std::string bad = option + " " + quotedArgument(text) + " is not a date YYYY-MM-DD";
    const std::size_t monthDash = text.size() >= 6 ? text.size() - 6 : std::string::npos;
    if (monthDash == std::string::npos || text[monthDash] != '-' || text[text.size() - 3] != '-') {
        throw UsageError(bad);
    }
    const std::string yearPart = text.substr(0, monthDash);
    const std::string monthPart = text.substr(monthDash + 1, 2);
    const std::string dayPart = text.substr(text.size() - 2);
    if (!looksLikeNumber(yearPart) || yearPart[0] == '+' || !looksLikeNumber(monthPart) ||
        !looksLikeNumber(dayPart) || yearPart.size() < 4 || yearPart.size() > 6) {
        throw UsageError(bad);
    }
    const long year = std::stol(yearPart);
    if (!covers(Source::Year, static_cast<int>(year))) {
        throw UsageError(option + " " + quotedArgument(text) + ": the year lies outside " +
                         spanText(coverage(Source::Year)));
    }
    const CivilDate date{static_cast<int>(year), std::stoi(monthPart), std::stoi(dayPart)};
    if (date.month < 1 || date.month > 12 || date.day < 1 || civilDate(dayNumber(date)) != date) {
        throw UsageError(option + " " + quotedArgument(text) + " is not a day of the calendar");
    }
    return date;
}

// Whether an argument that starts with "-" is a date of a year before 1 ("-0500-03-21").
bool startsLikeDate(const std::string& text) {
    return text.size() > 1 && text[0] == '-' && text[1] >= '0' && text[1] <= '9';
}

// The last day of the year of days that begins on date: the day before the same date a year
// later (28 February from 29 February), within the program's years.
CivilDate yearAfter(const CivilDate& date) {
    if (const int last = coverage(Source::Year).last; date.year >= last) {
        return CivilDate{last, 12, 31};
    }
    CivilDate next{date.year + 1, date.month, date.day};
    if (civilDate(dayNumber(next)) != next) {
        next = CivilDate{date.year + 1, 3, 1};
    }
    return addDays(next, -1);
}

// The value of --from or --to with --feed: a year the kind's feed covers.
int parseFeedYear(const std::string& option, const std::string& text, exports::FeedKind kind) {
    if (!looksLikeNumber(text) || text[0] == '+' || text.size() > 6) {
        throw UsageError(option + " " + quotedArgument(text) + " is not a year (--feed takes " +
                         option + " YEAR)");
    }
    const almanac::YearSpan years = exports::feedYears(kind);
    const long year = std::stol(text);
    if (!years.contains(static_cast<int>(year))) {
        throw UsageError(option + " " + quotedArgument(text) + ": the " +
                         exports::feedKindKey(kind) + " feed covers the years " + spanText(years) +
                         " (" + exports::feedYearsReason(kind) + ")");
    }
    return static_cast<int>(year);
}

// The kinds --feed takes, "rokuyo, senjitsu, ..".
std::string feedKindList() {
    std::string out;
    for (const exports::FeedKind kind : exports::kFeedKinds) {
        out += std::string(out.empty() ? "" : ", ") + exports::feedKindKey(kind);
    }
    return out;
}

} // namespace

namespace {

// --from and --to are read once the mode (--feed or --find) is known.
struct Pending {
    std::optional<std::string> fromText;
    std::optional<std::string> toText;
};

// One option of the command line: its name, whether it takes a value, and the member it sets:
// a flag's bool, or for an option with a value the routine that reads it (minusValue: whether
// a next argument that starts with "-" is still its value: a query "-仏滅 日", a date
// "-0500-03-21").
struct OptionRow {
    const char* name;
    bool takesValue;
    bool Options::*flag;
    void (*read)(Options&, Pending&, const std::string&);
    bool (*minusValue)(const std::string&);
};

void readMonth(Options& o, Pending&, const std::string& v) {
    o.month = parseMonth(v);
}
void readData(Options& o, Pending&, const std::string& v) {
    if (v.empty()) {
        throw UsageError("--data needs a folder");
    }
    o.dataDir = pathFromText(v);
}
void readIcs(Options& o, Pending&, const std::string& v) {
    if (v.empty()) {
        throw UsageError("--ics needs a file name");
    }
    o.icsFile = pathFromText(v);
}
void readPlace(Options& o, Pending&, const std::string& v) {
    o.place = v;
}
void readLatitude(Options& o, Pending&, const std::string& v) {
    o.latitude = parseDegrees("--lat", v, 90);
}
void readLongitude(Options& o, Pending&, const std::string& v) {
    o.longitude = parseDegrees("--lon", v, 180);
}
void readFind(Options& o, Pending&, const std::string& v) {
    try {
        o.find = daysearch::parseQuery(v, daysearch::Vocabulary());
    } catch (const daysearch::QueryError& e) {
        throw UsageError("--find: " + printable(e.what()));
    }
}
// A negated first word is a query; "--json" after --find is not.
bool findValue(const std::string& next) {
    return next.rfind("--", 0) != 0;
}
void readFeed(Options& o, Pending&, const std::string& v) {
    o.feed = exports::feedKindOfKey(v);
    if (!o.feed) {
        throw UsageError("--feed " + quotedArgument(v) + " is not a kind of feed (" +
                         feedKindList() + ")");
    }
}
void readFrom(Options&, Pending& p, const std::string& v) {
    p.fromText = v;
}
void readTo(Options&, Pending& p, const std::string& v) {
    p.toText = v;
}
void readWareki(Options& o, Pending&, const std::string& v) {
    o.wareki = v;
}

constexpr OptionRow kOptions[] = {
    {"--help", false, &Options::help, nullptr, nullptr},
    {"--json", false, &Options::json, nullptr, nullptr},
    {"--month", true, nullptr, readMonth, nullptr},
    {"--data", true, nullptr, readData, nullptr},
    {"--precise", false, &Options::precise, nullptr, nullptr},
    {"--zassetsu", false, &Options::zassetsu, nullptr, nullptr},
    {"--days", false, &Options::days, nullptr, nullptr},
    {"--phases", false, &Options::phases, nullptr, nullptr},
    {"--holidays", false, &Options::holidays, nullptr, nullptr},
    {"--notes", false, &Options::notes, nullptr, nullptr},
    {"--ics", true, nullptr, readIcs, nullptr},
    {"--sun", false, &Options::sun, nullptr, nullptr},
    {"--place", true, nullptr, readPlace, nullptr},
    {"--lat", true, nullptr, readLatitude, nullptr},
    {"--lon", true, nullptr, readLongitude, nullptr},
    {"--find", true, nullptr, readFind, findValue},
    {"--feed", true, nullptr, readFeed, nullptr},
    {"--from", true, nullptr, readFrom, startsLikeDate},
    {"--to", true, nullptr, readTo, startsLikeDate},
    {"--wareki", true, nullptr, readWareki, nullptr},
    {"--julian", false, &Options::julian, nullptr, nullptr},
    {"--published-feeds", false, &Options::publishedFeeds, nullptr, nullptr},
};

// The row whose option arg names ("--name" or "--name=VALUE"), or null.
const OptionRow* optionRow(const std::string& arg) {
    for (const OptionRow& row : kOptions) {
        const std::string name = row.name;
        if (arg == name || arg.rfind(name + "=", 0) == 0) {
            return &row;
        }
    }
    return nullptr;
}

// The value of the option args[i] names: after its "=", or the next argument (i moves on to
// it). An option where the value should be ("--ics --json") is not taken as a file name; such
// a name is written ./-name or --ics=-name. A lone "-" and negative numbers (also decimal
// ones, --lon -0.5) are values.
std::string optionValue(const OptionRow& row, const std::vector<std::string>& args,
                        std::size_t& i) {
    const std::string name = row.name;
    const std::string& arg = args[i];
    if (arg.rfind(name + "=", 0) == 0) {
        return arg.substr(name.size() + 1);
    }
    if (i + 1 >= args.size()) {
        throw UsageError(name + " needs a value");
    }
    const std::string& next = args[i + 1];
    if (next.size() > 1 && next[0] == '-' && !looksLikeNumber(next) &&
        !(next[1] == '.' || (next[1] >= '0' && next[1] <= '9')) &&
        !(row.minusValue != nullptr && row.minusValue(next))) {
        throw UsageError(name + " needs a value, not the option " + quotedArgument(next) +
                         " (write a name that starts with \"-\" as ./" + printable(next, 40) +
                         " or " + name + "=" + printable(next, 40) + ")");
    }
    return args[++i];
}

} // namespace

Options parseArguments(const std::vector<std::string>& args, int currentYear,
                       const CivilDate& today) {
    Options options;
    bool yearGiven = false;
    Pending pending;
    std::optional<std::string>& fromText = pending.fromText;
    std::optional<std::string>& toText = pending.toText;
    std::vector<std::string> given; // the options named, once each (--help may repeat)
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (const OptionRow* row = optionRow(arg)) {
            const std::string name = row->name;
            if (name != "--help") {
                if (std::find(given.begin(), given.end(), name) != given.end()) {
                    throw UsageError(name + " is given twice");
                }
                given.push_back(name);
            }
            if (row->takesValue) {
                row->read(options, pending, optionValue(*row, args, i));
            } else if (arg != name) {
                // "--json=no" is refused, not taken as --json.
                throw UsageError(name + " takes no value: " + quotedArgument(arg));
            } else {
                options.*(row->flag) = true;
            }
        } else if (looksLikeNumber(arg)) {
            if (yearGiven) {
                throw UsageError("a second year " + quotedArgument(arg));
            }
            try {
                options.year = parseYearText(arg);
            } catch (const YearTextError& e) {
                throw UsageError(e.what());
            }
            yearGiven = true;
        } else if (!arg.empty() && arg[0] == '-') {
            throw UsageError("unknown option " + quotedArgument(arg));
        } else {
            throw UsageError("year " + quotedArgument(arg) + " is not a whole number");
        }
    }
    if (options.feed) {
        if (fromText) {
            options.fromYear = parseFeedYear("--from", *fromText, *options.feed);
        }
        if (toText) {
            options.toYear = parseFeedYear("--to", *toText, *options.feed);
        }
    } else {
        if (fromText) {
            options.from = parseDate("--from", *fromText);
        }
        if (toText) {
            options.to = parseDate("--to", *toText);
        }
    }
    if (!yearGiven) {
        if (!covers(Source::Year, currentYear)) {
            throw UsageError("the clock's year " + std::to_string(currentYear) + " is outside " +
                             spanText(coverage(Source::Year)) + "; give the YEAR to show");
        }
        options.year = static_cast<std::int16_t>(currentYear);
    }
    checkConflicts(given);
    checkSunOptions(options, given);
    checkWarekiOptions(options, given, yearGiven);
    if (options.wareki) {
        return options;
    }
    if (options.publishedFeeds) {
        for (const std::string& name : given) {
            if (name != "--published-feeds") {
                throw UsageError("--published-feeds and " + name +
                                 " cannot be combined: --published-feeds lists the feeds' years");
            }
        }
        if (!yearGiven) {
            options.year = static_cast<std::int16_t>(today.year);
        }
        return options;
    }
    const bool fromGiven = fromText.has_value();
    const bool toGiven = toText.has_value();
    if (options.feed) {
        if (yearGiven) {
            throw UsageError("--feed takes its years from --from and --to, not a year");
        }
        if (!fromGiven) {
            const almanac::YearSpan years = exports::feedYears(*options.feed);
            if (!years.contains(today.year)) {
                throw UsageError(std::string("the ") + exports::feedKindKey(*options.feed) +
                                 " feed covers the years " + spanText(years) + ", not this year " +
                                 std::to_string(today.year) + "; give --from YEAR");
            }
            options.fromYear = today.year;
        }
        if (!toGiven) {
            options.toYear = options.fromYear;
        }
        if (options.toYear < options.fromYear) {
            throw UsageError("--to " + std::to_string(options.toYear) + " lies before --from " +
                             std::to_string(options.fromYear));
        }
        return options;
    }
    if ((fromGiven || toGiven) && !options.find) {
        throw UsageError(std::string(fromGiven ? "--from" : "--to") + " needs --find or --feed");
    }
    if (options.find) {
        if (yearGiven) {
            throw UsageError("--find takes its days from --from and --to, not a year");
        }
        if (!fromGiven) {
            options.from = today;
        }
        if (!toGiven) {
            options.to = yearAfter(options.from);
        }
        if (options.to < options.from) {
            throw UsageError("--to " + isoDateText(options.to) + " lies before --from " +
                             isoDateText(options.from));
        }
        // --to is not before --from, so the two ends decide.
        if (options.icsFile && (!covers(Source::ICalendar, options.from.year) ||
                                !covers(Source::ICalendar, options.to.year))) {
            throw UsageError("--ics writes the years " + spanText(coverage(Source::ICalendar)) +
                             " (the dates an iCalendar file can hold); the range " +
                             isoDateText(options.from) + ".." + isoDateText(options.to) +
                             " is not within them");
        }
        return options;
    }
    if (options.precise && !covers(Source::Precise, options.year)) {
        throw UsageError("--precise covers the years " + spanText(coverage(Source::Precise)) +
                         " (the years its time and Sun models cover); " + yearText(options.year) +
                         " is outside it");
    }
    if (options.phases && !covers(Source::Phases, options.year)) {
        throw UsageError("--phases covers the years " + spanText(coverage(Source::Phases)) +
                         " (the range of the Moon's theory and the lunisolar calendar); " +
                         yearText(options.year) + " is outside it");
    }
    // Before the holiday law a year has an empty list, which a note explains.
    if (options.holidays && options.year > coverage(Source::Holidays).last) {
        throw UsageError("--holidays covers the years up to " +
                         std::to_string(coverage(Source::Holidays).last) +
                         " (later equinox days would rest on an extrapolated ΔT); " +
                         yearText(options.year) + " is after it");
    }
    if (options.notes && !covers(Source::Notes, options.year)) {
        throw UsageError("--notes covers the years " + spanText(coverage(Source::Notes)) +
                         " (beyond them the solar theory's seasons have left their months); " +
                         yearText(options.year) + " is outside them");
    }
    if (options.icsFile && !covers(Source::ICalendar, options.year)) {
        throw UsageError("--ics writes the years " + spanText(coverage(Source::ICalendar)) +
                         " (the dates an iCalendar file can hold); " + yearText(options.year) +
                         " is outside them");
    }
    return options;
}

CivilDate todayInJapan() {
    const std::time_t now = std::time(nullptr) + kJstOffsetSeconds;
    std::tm utc{};
    gmtime_r(&now, &utc);
    return CivilDate{utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday};
}

int currentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return coverage(Source::Year).last +
               1; // a clock beyond what the system's dates hold: refused
    }
    return local.tm_year + 1900;
}

} // namespace sorvane::cli
