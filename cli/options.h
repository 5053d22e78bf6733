// Command line of the terminal program.
#pragma once

#include "calendar/civil_date.h"
#include "daysearch/query.h"
#include "export/feed.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sorvane::cli {

// A bad argument; what() is one line that names it.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Options {
    std::int16_t year = 0;
    int month = 0; // 0: no month listing
    bool json = false;
    bool help = false;
    bool version = false;
    bool precise = false;  // events from the IAU model (years -1999..3000)
    bool zassetsu = false; // add the 雑節 to the report or the JSON
    bool days = false;     // one line per day of the year, with the lunisolar calendar
    bool phases = false;   // the year's 朔弦望 (years 1900..2100)
    bool holidays = false; // list the national holidays (or add them to the JSON)
    bool notes = false;    // the 暦注 of every day (with --ics: the 選日 as the calendar)
    std::optional<std::filesystem::path> dataDir;
    std::optional<std::filesystem::path> icsFile; // write an iCalendar file here ("-": stdout)
    bool sun = false;                 // the year's sunrise, sunset, moonrise and moonset
    std::optional<std::string> place; // --place NAME (checked against the places file)
    std::optional<double> latitude;   // --lat DEG, -90..90
    std::optional<double> longitude;  // --lon DEG, -180..180
    // --find: the days from..to that fit the query (from: today in JST; to: the day
    // before the same date a year later)
    std::optional<daysearch::Query> find;
    CivilDate from;
    CivilDate to;
    // --feed KIND: the kind's calendar for the years fromYear..toYear (--from and --to as
    // years; from: this year in JST; to: fromYear) on standard output or in the --ics file
    std::optional<exports::FeedKind> feed;
    int fromYear = 0;
    int toYear = 0;
    // --wareki DATE: one day converted between 和暦 and the Western calendars (a 和暦 date,
    // or YYYY-MM-DD in the Gregorian calendar, with --julian in the Julian calendar)
    std::optional<std::string> wareki;
    bool julian = false;
    // --published-feeds: each feed kind with the years a site publishes in year (YEAR, or
    // this year in JST): exports::publishedFeedYears
    bool publishedFeeds = false;
};

// checkWarekiOptions: --julian only with --wareki, --wareki with no YEAR and alone with
// --json. Throws UsageError naming the argument.
void checkWarekiOptions(const Options& options, const std::vector<std::string>& given,
                        bool yearGiven);

// The --wareki report (or its JSON); a date that cannot be read or is no day is a UsageError
// that says why in Japanese and names the nearest valid reading.
std::string warekiReport(const Options& options);

// checkSunOptions: --place, --lat and --lon only with --sun, --lat and --lon together and
// not with --place, --sun alone with --json and --data, in the precise mode's years.
// Throws UsageError naming the argument.
void checkSunOptions(const Options& options, const std::vector<std::string>& given);

// checkConflicts: refuses two options (named as on the command line, once each in given)
// that one run cannot do at once, with a UsageError that names both and says why.
void checkConflicts(const std::vector<std::string>& given);

// readDegrees: a latitude (limit 90) or longitude (limit 180) as typed: a decimal number of
// degrees (a leading '+' allowed) within -limit..limit, set in value; or what is wrong with it.
enum class DegreesProblem { None, NotANumber, OutOfRange };
DegreesProblem readDegrees(const std::string& text, double limit, double& value);

// parseDegrees: the value of --lat (limit 90) or --lon (limit 180) by readDegrees; a
// UsageError that names the option otherwise.
double parseDegrees(const std::string& option, const std::string& text, double limit);

// text as one printable line (sorvane::printableText): control characters, bytes that are
// not well-formed UTF-8 and the bidirectional formatting characters escaped, and with
// inQuotes also '"' and '\'; cut after maxCharacters characters, "..." marking the cut.
std::string printable(std::string_view text, std::size_t maxCharacters = std::string::npos,
                      bool inQuotes = false);

// An argument as messages quote it: in double quotes, escaped, at most 40 characters.
std::string quotedArgument(std::string_view text);

// Parses the arguments after the program name. currentYear is the default year (refused
// when it lies outside -32768..32767), today the default --from. Flags take no "=VALUE"; a
// value given as the next argument may not look like an option (but "-" and negative
// numbers may).
// --precise with a year outside -1999..3000, --phases with a year outside 1900..2100, --ics
// with a year outside 1..9999, --holidays with a year after 2100, an option given twice and
// two options that cannot be combined are UsageErrors that say so.
// --find with a query that cannot be read is a UsageError naming the word; --from and --to
// take YYYY-MM-DD (years -32768..32767, with --ics 1..9999), --to not before --from.
// --feed takes a kind (exports::feedKindOfKey) and no YEAR; its --from and --to are years
// within the kind's exports::feedYears, --to not before --from.
Options parseArguments(const std::vector<std::string>& args, int currentYear,
                       const CivilDate& today = CivilDate{2000, 1, 1});

// The usage text printed by --help.
std::string usageText();

// "sorvane-cli VERSION" and a newline, printed by --version.
std::string versionText();

// The year of the system clock's local date (not cut to the years a run can show).
int currentYear();

// The system clock's date in Japan Standard Time (UTC+9).
CivilDate todayInJapan();

} // namespace sorvane::cli
