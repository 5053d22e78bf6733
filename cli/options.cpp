#include "cli/options.h"

#include "almanac/coverage.h"
#include "calendar/jst.h"
#include "calendar/year_text.h"
#include "ephemeris/tables.h"
#include "sorvane/version.h"

#include <algorithm>
#include <cstdio>
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

// Options that cannot be given together, and why: each row names two options (as written
// on the command line) that ask for things one run cannot do at once.
struct Conflict {
    const char* first;
    const char* second;
    const char* reason;
};

constexpr Conflict kConflicts[] = {
    {"--month", "--zassetsu", "the 雑節 are listed for a whole year"},
    {"--month", "--precise", "a month listing shows no solar-term moments"},
    {"--month", "--days", "--days lists every day of the year"},
    {"--month", "--phases", "a month listing shows no phases"},
    {"--zassetsu", "--days", "--days lists the 雑節 with every day"},
    {"--month", "--holidays", "the holidays are listed for a whole year"},
    {"--holidays", "--days", "--days lists the holidays with every day"},
    {"--holidays", "--phases", "each prints a listing of its own"},
    {"--zassetsu", "--phases", "--phases prints the phases alone"},
    {"--find", "--month", "--find lists days, not a month"},
    {"--find", "--zassetsu", "--find takes the 雑節 as words of its query"},
    {"--find", "--days", "each prints a listing of its own"},
    {"--find", "--phases", "each prints a listing of its own"},
    {"--find", "--holidays", "--find takes 祝日 and 休日 as words of its query"},
    {"--find", "--precise", "--find takes the precise moments wherever they reach"},
    {"--notes", "--month", "--notes lists every day of the year"},
    {"--notes", "--days", "each prints a listing of its own"},
    {"--notes", "--phases", "each prints a listing of its own"},
    {"--notes", "--holidays", "each prints a listing of its own"},
    {"--notes", "--zassetsu", "the notes list no 雑節"},
    {"--notes", "--precise",
     "the notes take the precise moments wherever they reach, as the calendar page does"},
    {"--find", "--notes", "each prints a listing of its own"},
    {"--find", "--sun", "each prints a listing of its own"},
    {"--find", "--place", "--place goes with --sun"},
    {"--find", "--lat", "--lat goes with --sun"},
    {"--find", "--lon", "--lon goes with --sun"},
    {"--feed", "--find", "each writes an output of its own"},
    {"--feed", "--month", "a feed holds whole years"},
    {"--feed", "--json", "a feed is an iCalendar calendar"},
    {"--feed", "--precise", "a feed takes the precise moments wherever they reach"},
    {"--feed", "--zassetsu", "the 雑節 are the feed --feed zassetsu"},
    {"--feed", "--holidays", "the holidays are the feed --feed holidays"},
    {"--feed", "--phases", "the phases are the feed --feed moon"},
    {"--feed", "--days", "each writes an output of its own"},
    {"--feed", "--notes", "the 選日 are the feed --feed senjitsu"},
    {"--feed", "--sun", "each writes an output of its own"},
};

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

std::string printable(std::string_view text, std::size_t maxCharacters, bool inQuotes) {
    std::string out;
    std::size_t characters = 0;
    std::size_t i = 0;
    while (i < text.size() && characters < maxCharacters) {
        const auto c = static_cast<unsigned char>(text[i]);
        // The length of a well-formed UTF-8 sequence starting here, 0 if there is none.
        std::size_t length = c < 0x80                 ? 1
                             : c >= 0xC2 && c <= 0xDF ? 2
                             : c >= 0xE0 && c <= 0xEF ? 3
                             : c >= 0xF0 && c <= 0xF4 ? 4
                                                      : 0;
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                length = 0;
            }
        }
        // C1 controls (U+0080..U+009F) act on some terminals as their escape sequences do.
        const bool c1 = length == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        const bool control = length == 1 && (c < 0x20 || c == 0x7F);
        if (length == 0 || c1 || control || (inQuotes && (c == '"' || c == '\\'))) {
            const std::size_t n = c1 ? 2 : 1;
            for (std::size_t k = 0; k < n; ++k) {
                const auto b = static_cast<unsigned char>(text[i + k]);
                const char* named = b == '\n'   ? "\\n"
                                    : b == '\t' ? "\\t"
                                    : b == '\r' ? "\\r"
                                    : b == '"'  ? "\\\""
                                    : b == '\\' ? "\\\\"
                                                : nullptr;
                if (named != nullptr) {
                    out += named;
                } else {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\x%02X", b);
                    out += buf;
                }
            }
            i += n;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
        ++characters;
    }
    if (i < text.size()) {
        out += "...";
    }
    return out;
}

std::string quotedArgument(std::string_view text) {
    return "\"" + printable(text, 40, true) + "\"";
}

Options parseArguments(const std::vector<std::string>& args, int currentYear,
                       const CivilDate& today) {
    Options options;
    bool yearGiven = false;
    std::optional<std::string> fromText; // --from and --to, read once the mode is known
    std::optional<std::string> toText;
    std::vector<std::string> given; // the options named, once each
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // minusValue: whether a next argument that starts with "-" is still this option's
        // value (a query "-仏滅 日", a date "-0500-03-21").
        auto value = [&](const std::string& name,
                         bool (*minusValue)(const std::string&) = nullptr) -> std::string {
            const std::string prefix = name + "=";
            if (arg.rfind(prefix, 0) == 0) {
                return arg.substr(prefix.size());
            }
            if (i + 1 >= args.size()) {
                throw UsageError(name + " needs a value");
            }
            // An option where the value should be ("--ics --json") is not taken as a file
            // name; such a name is written ./-name or --ics=-name. A lone "-" and negative
            // numbers (also decimal ones, --lon -0.5) are values.
            const std::string& next = args[i + 1];
            if (next.size() > 1 && next[0] == '-' && !looksLikeNumber(next) &&
                !(next[1] == '.' || (next[1] >= '0' && next[1] <= '9')) &&
                !(minusValue != nullptr && minusValue(next))) {
                throw UsageError(name + " needs a value, not the option " + quotedArgument(next) +
                                 " (write a name that starts with \"-\" as ./" +
                                 printable(next, 40) + " or " + name + "=" + printable(next, 40) +
                                 ")");
            }
            return args[++i];
        };
        auto is = [&](const std::string& name) {
            const bool match = arg == name || arg.rfind(name + "=", 0) == 0;
            if (match && name != "--help") {
                if (std::find(given.begin(), given.end(), name) != given.end()) {
                    throw UsageError(name + " is given twice");
                }
                given.push_back(name);
            }
            return match;
        };
        // An option that takes no value: "--json=no" is refused, not taken as --json.
        auto flag = [&](const std::string& name) {
            const bool match = is(name);
            if (match && arg != name) {
                throw UsageError(name + " takes no value: " + quotedArgument(arg));
            }
            return match;
        };
        if (arg == "-h" || flag("--help")) {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (flag("--json")) {
            options.json = true;
        } else if (is("--month")) {
            options.month = parseMonth(value("--month"));
        } else if (is("--data")) {
            const std::string dir = value("--data");
            if (dir.empty()) {
                throw UsageError("--data needs a folder");
            }
            options.dataDir = dir;
        } else if (flag("--precise")) {
            options.precise = true;
        } else if (flag("--zassetsu")) {
            options.zassetsu = true;
        } else if (flag("--days")) {
            options.days = true;
        } else if (flag("--phases")) {
            options.phases = true;
        } else if (flag("--holidays")) {
            options.holidays = true;
        } else if (flag("--notes")) {
            options.notes = true;
        } else if (is("--ics")) {
            const std::string file = value("--ics");
            if (file.empty()) {
                throw UsageError("--ics needs a file name");
            }
            options.icsFile = file;
        } else if (flag("--sun")) {
            options.sun = true;
        } else if (is("--place")) {
            options.place = value("--place");
        } else if (is("--lat")) {
            options.latitude = parseDegrees("--lat", value("--lat"), 90);
        } else if (is("--lon")) {
            options.longitude = parseDegrees("--lon", value("--lon"), 180);
        } else if (is("--find")) {
            // A negated first word is a query; "--json" after --find is not.
            const std::string text =
                value("--find", [](const std::string& next) { return next.rfind("--", 0) != 0; });
            try {
                options.find = daysearch::parseQuery(text, daysearch::Vocabulary());
            } catch (const daysearch::QueryError& e) {
                throw UsageError("--find: " + printable(e.what()));
            }
        } else if (is("--feed")) {
            const std::string kind = value("--feed");
            options.feed = exports::feedKindOfKey(kind);
            if (!options.feed) {
                throw UsageError("--feed " + quotedArgument(kind) + " is not a kind of feed (" +
                                 feedKindList() + ")");
            }
        } else if (is("--from")) {
            fromText = value("--from", startsLikeDate);
        } else if (is("--to")) {
            toText = value("--to", startsLikeDate);
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
    for (const Conflict& c : kConflicts) {
        const auto named = [&](const char* name) {
            return std::find(given.begin(), given.end(), name) != given.end();
        };
        if (named(c.first) && named(c.second)) {
            throw UsageError(std::string(c.first) + " and " + c.second +
                             " cannot be combined: " + c.reason);
        }
    }
    checkSunOptions(options, given);
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

std::string usageText() {
    // The years of each source, as the checks above take them.
    const almanac::YearSpan year = coverage(Source::Year);
    const std::string precise = spanText(coverage(Source::Precise));
    const std::string lunar = spanText(coverage(Source::Lunisolar));
    const std::string phases = spanText(coverage(Source::Phases));
    const std::string holidays = spanText(coverage(Source::Holidays));
    const std::string lastHolidayYear = std::to_string(coverage(Source::Holidays).last);
    const CivilDate law = almanac::firstHolidayDate();
    const std::string notes = spanText(coverage(Source::Notes));
    const std::string ics = spanText(coverage(Source::ICalendar));
    return "usage: sorvane-cli [YEAR] [--month M] [--json] [--precise] [--zassetsu]\n"
           "                   [--days] [--phases] [--holidays] [--notes] [--ics FILE]\n"
           "                   [--data DIR]\n"
           "       sorvane-cli --find QUERY [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--json]\n"
           "                   [--ics FILE] [--data DIR]\n"
           "       sorvane-cli --feed KIND [--from YEAR] [--to YEAR] [--ics FILE] [--data DIR]\n"
           "\n"
           "Prints the moments of the 24 solar terms and the four 土用 entries of YEAR\n"
           "(default: the current year) in Japan Standard Time, then the sexagenary name\n"
           "of each month's first day.\n"
           "\n"
           "  YEAR        a whole number from " +
           std::to_string(year.first) + " to " + std::to_string(year.last) +
           " (year 0 is 1 BC)\n"
           "  --month M   list the days of month M (1..12) with weekday and sexagenary name\n"
           "  --json      print the year as one JSON document\n"
           "  --precise   compute the moments from the IAU model of the Sun's apparent\n"
           "              longitude, with leap seconds (years " +
           precise +
           "; outside\n"
           "              1900..2100 each moment has its uncertainty)\n"
           "  --zassetsu  also list the 雑節: 節分, 彼岸, 八十八夜, 入梅, 半夏生, 二百十日,\n"
           "              二百二十日 and the four 土用 with their 丑の日\n"
           "  --days      instead, one tab-separated line per day: date, weekday, 干支,\n"
           "              lunisolar date (閏 for a leap month), 六曜, national holiday and\n"
           "              the day's events (terms, 土用, 雑節, 朔弦望 with JST times;\n"
           "              旧正月, 伝統的七夕, 十五夜, 十三夜); the moments of --precise\n"
           "              where it reaches (" +
           precise +
           "), else the default theory; \"-\" for\n"
           "              the lunisolar fields outside " +
           lunar +
           "; a note on standard\n"
           "              error names the mode (and, outside 1900..2100, the uncertainty)\n"
           "  --phases    instead, the year's 朔, 上弦, 望 and 下弦, \"MM-DD HH:MM  朔\"\n"
           "              (years " +
           phases +
           "); with --json either comes as JSON\n"
           "  --holidays  list the national holidays instead, one \"MM-DD  name\" line each\n"
           "              (with --json: add them as a \"holidays\" array). Years up to " +
           lastHolidayYear +
           ";\n"
           "              before " +
           std::to_string(law.year) + " (the holiday law took effect on " + isoDateText(law) +
           ") the list\n"
           "              is empty and a note says so\n"
           "  --notes     instead, the 暦注 of every day, one tab-separated line each: date,\n"
           "              weekday, the 節月's 干支, the day's 干支, 十二直, 二十八宿, 日家九星,\n"
           "              選日, noon moon age (" +
           lunar +
           "), then the 七十二候 beginning that\n"
           "              day and the 年中行事; with --json one document; with --ics FILE\n"
           "              the 選日 are written as all-day events instead. The Sun's moments\n"
           "              of --precise where it reaches, else the default theory. These are\n"
           "              customs of the calendar makers, not astronomy. Years " +
           notes +
           "\n"
           "  --ics FILE  also write the terms, 土用, 雑節 and the national holidays\n"
           "              (" +
           holidays + ") as an iCalendar file, and in " + lunar +
           " the 朔 and\n"
           "              望 and the lunisolar days; its moments are the default theory's,\n"
           "              or with --precise the precise mode's, whatever else is given\n"
           "              (--days included). FILE \"-\": the calendar on standard output\n"
           "              instead of the report\n"
           "  --find QUERY  instead, the days from --from (default: today in Japan) to --to\n"
           "              (default: a year, to the day before the same date a year later)\n"
           "              that fit QUERY, one tab-separated line each: date, weekday, then\n"
           "              the names that matched. QUERY is words\n"
           "              that must all hold; a word is a name or names joined by '|' (any\n"
           "              of them), a leading '-' negates it. Names: 六曜 (大安 ..), 選日\n"
           "              (一粒万倍日, 天赦日 ..), weekdays (月 .. 日), 祝日, 休日 (土, 日 or\n"
           "              祝日), 十二直, 二十八宿, 九星 (一白水星 ..), solar terms, 土用 and\n"
           "              雑節 (節分, 夏の土用, 一の丑 ..), 旧暦 (旧1月, 旧閏6月, 旧15日,\n"
           "              十五夜). A name of two kinds takes its kind: 十二直:危, 二十八宿:危.\n"
           "              With --json a document, with --ics FILE also the days as all-day\n"
           "              events. A name of a kind that part of the range lacks (六曜 and\n"
           "              旧暦 outside " +
           lunar + ", 祝日 outside " + isoDateText(law) + ".." + lastHolidayYear +
           ") holds\n"
           "              neither way there, and a note on standard error says where\n"
           "  --feed KIND  instead, one kind's subscription calendar (RFC 5545) for the\n"
           "              years --from (default: this year in Japan) to --to (default:\n"
           "              --from) on standard output, or in FILE with --ics FILE. KIND:\n"
           "              rokuyo (六曜 each day, " +
           spanText(exports::feedYears(exports::FeedKind::Rokuyo)) +
           "), senjitsu (選日; 八専, 十方暮\n"
           "              and 天一天上 as periods, " +
           spanText(exports::feedYears(exports::FeedKind::Senjitsu)) +
           "), sekki (the 24 節気 as\n"
           "              instants, " +
           spanText(exports::feedYears(exports::FeedKind::Sekki)) + "), holidays (" +
           spanText(exports::feedYears(exports::FeedKind::Holidays)) +
           "), moon (朔, 上弦,\n"
           "              望, 下弦, 十五夜, 十三夜; " +
           spanText(exports::feedYears(exports::FeedKind::Moon)) + "), zassetsu (" +
           spanText(exports::feedYears(exports::FeedKind::Zassetsu)) +
           "). UIDs name\n"
           "              the kind, the event and its date; no clock is read: the same\n"
           "              arguments give the same bytes\n"
           "  --data DIR  read planet.txt and latitude.txt from DIR\n"
           "  --sun       instead, one line per day: date, 日の出, 日の入, 月の出, 月の入\n"
           "              (HH:MM in JST, --:-- for none, **:** for the Sun's two on a\n"
           "              polar day, when it never sets) and the Moon's age at noon, for\n"
           "              Tokyo (the observatory's point) or the place of --place NAME\n"
           "              or --lat DEG --lon DEG (decimal, north and east positive);\n"
           "              years " +
           precise +
           ", with --json as JSON\n"
           "  --help      show this text\n"
           "  --version   show the version\n"
           "\n"
           "The Moon is the lunar solution ELP/MPP02, carried by the program: over\n"
           "1900-2100 its phases lie within 0.33 s of a JPL-based ephemeris (DE431),\n"
           "99.9 % of them on the same minute and none a minute more off.\n"
           "\n"
           "--month takes neither --zassetsu, --precise, --holidays, --days nor --phases;\n"
           "with --json it prints the month as JSON. --days takes neither --zassetsu nor\n"
           "--holidays (it lists both), and --phases neither --holidays nor --zassetsu;\n"
           "--holidays --zassetsu lists the 雑節 after the holidays. --notes takes none of\n"
           "--month, --days, --phases, --holidays, --zassetsu and --precise. --ics writes\n"
           "the years " +
           ics +
           ", replacing FILE whole or not at all. Options without a value\n"
           "take no \"=VALUE\"; a FILE or DIR that starts with \"-\" is written ./-name or\n"
           "--ics=-name. --find takes no YEAR and none of --month, --precise, --zassetsu,\n"
           "--days, --phases, --holidays or --notes. --feed takes no YEAR, nor --json\n"
           "or the listing options; --ics - or no --ics writes the feed to standard output.\n"
           "\n"
           "Exit status: 0 success, 1 data-file error (or terms that give no usable\n"
           "moments), 2 bad argument, 3 an output (standard output or the --ics file)\n"
           "could not be written.\n";
}

std::string versionText() {
    return std::string("sorvane-cli ") + kVersion + "\n";
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
