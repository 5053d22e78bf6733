// The whole year range through the calculation, meant to run under AddressSanitizer and
// UndefinedBehaviorSanitizer.
//
//   year_sweep years DATA_DIR FIRST LAST
//       every year FIRST..LAST: the 28 result lines and the events behind them, the twelve
//       first days, one month listing per year (all twelve for the years that edge the
//       calendar's arithmetic)
//   year_sweep cli DATA_DIR SORVANE_CLI YEAR...
//       the terminal program for those years, against the library
//
// Years far outside the solar theory's useful range still compute: the day of a line may
// then lie outside its month (even below zero), but the lines keep their form, the events
// keep their order and the refined moments still put the Sun at the target longitude.
#include "almanac/month_listing.h"
#include "almanac/year_almanac.h"
#include "calendar/julian_day.h"
#include "calendar/names.h"
#include "ephemeris/sun_position.h"
#include "ephemeris/tables.h"
#include "finder/finder.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using namespace sorvane;

// The 28 lines' names in the result box's order: per month 節, 土用 (January, April, July,
// October), 中気.
const char* const kLineNames[28] = {
    "小　寒", "  土用", "大　寒", "立　春", "雨　水", "啓　蟄", "春　分",
    "清　明", "  土用", "穀　雨", "立　夏", "小　満", "芒　種", "夏　至",
    "小　暑", "  土用", "大　暑", "立　秋", "処　暑", "白　露", "秋　分",
    "寒　露", "  土用", "霜　降", "立　冬", "小　雪", "大　雪", "冬　至",
};

// The Sun's longitude at each of those events, degrees.
const double kLineTargets[28] = {285, 297, 300, 315, 330, 345, 0,   15,  27,  30,
                                 45,  60,  75,  90,  105, 117, 120, 135, 150, 165,
                                 180, 195, 207, 210, 225, 240, 255, 270};

// Years whose twelve month listings are all checked: the ends of the range, the years
// around zero where remainders change sign, the start of the Julian period, leap-rule edges.
const int kListingYears[] = {-32768, -32767, -32700, -4713, -4712, -401,  -400, -100, -61,
                             -60,    -56,    -5,     -4,    -1,    0,     1,    4,    100,
                             400,    1900,   1984,   2000,  32700, 32766, 32767};

long long floorMod(long long a, long long b) {
    const long long r = a % b;
    return r < 0 ? r + b : r;
}

long long floorDiv(long long a, long long b) {
    return (a - floorMod(a, b)) / b;
}

// The sixty names built from stems and branches, index 0 = 甲子.
std::vector<std::string> sexagenary() {
    const char* stems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
    const char* branches[12] = {"子", "丑", "寅", "卯", "辰", "巳",
                                "午", "未", "申", "酉", "戌", "亥"};
    std::vector<std::string> names;
    for (int n = 0; n < 60; ++n) {
        names.push_back(std::string(stems[n % 10]) + branches[n % 12]);
    }
    return names;
}

const std::vector<std::string> kNames = sexagenary();
const char* const kWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"}; // Sunday first

bool isLeap(long long y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int monthLength(long long y, int m) {
    static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return lengths[m - 1] + (m == 2 && isLeap(y) ? 1 : 0);
}

// Days from 1970-01-01 to y-m-d of the proleptic Gregorian calendar, by whole 400-year eras
// (a count independent of the program's Julian-date formula).
long long daysFromCivil(long long y, int m, int d) {
    y -= m <= 2;
    const long long era = floorDiv(y, 400);
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// 1949-10-01 was a Saturday and a 甲子 day.
const long long kKoshiDay = daysFromCivil(1949, 10, 1);
int expectedKanshi(long long days) {
    return static_cast<int>(floorMod(days - kKoshiDay, 60)) + 1;
}
int expectedYoubi(long long days) {
    return static_cast<int>(floorMod(days - kKoshiDay + 6, 7)) + 1;
}

// Difference a - b of two longitudes, reduced to -180..180.
double angleDifference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180) {
        d -= 360;
    } else if (d < -180) {
        d += 360;
    }
    return d;
}

class Failures {
  public:
    void add(const std::string& what) {
        ++count_;
        if (count_ <= 40) {
            std::cerr << "FAIL " << what << "\n";
        } else if (count_ == 41) {
            std::cerr << "(further failures not shown)\n";
        }
    }
    int count() const { return count_; }

  private:
    int count_ = 0;
};

// Day, hour and minute of a result line.
struct Shown {
    long long day = 0;
    int hour = 0;
    int minute = 0;
};

// Reads `digits` as the "#00" form of a whole number: at least two digits, no superfluous
// leading zero, a minus sign allowed only where `signAllowed`.
bool readNumber(const std::string& s, std::size_t& pos, bool signAllowed, long long& value) {
    bool negative = false;
    if (signAllowed && pos < s.size() && s[pos] == '-') {
        negative = true;
        ++pos;
    }
    const std::size_t start = pos;
    value = 0;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && pos - start < 18) {
        value = value * 10 + (s[pos] - '0');
        ++pos;
    }
    const std::size_t n = pos - start;
    if (n < 2 || (n > 2 && s[start] == '0')) {
        return false;
    }
    if (negative) {
        if (value == 0) {
            return false;
        }
        value = -value;
    }
    return true;
}

bool expectText(const std::string& s, std::size_t& pos, const std::string& text) {
    if (s.compare(pos, text.size(), text) != 0) {
        return false;
    }
    pos += text.size();
    return true;
}

// name, five spaces, "DD 日 HH 時  MM 分"; the day any whole number, the hour 00..23, the
// minute 00..59.
bool parseLine(const std::string& line, const std::string& name, Shown& shown) {
    std::size_t pos = 0;
    long long hour = 0;
    long long minute = 0;
    const bool ok = expectText(line, pos, name + "     ") &&
                    readNumber(line, pos, true, shown.day) && expectText(line, pos, " 日 ") &&
                    readNumber(line, pos, false, hour) && expectText(line, pos, " 時  ") &&
                    readNumber(line, pos, false, minute) && expectText(line, pos, " 分") &&
                    pos == line.size();
    shown.hour = static_cast<int>(hour);
    shown.minute = static_cast<int>(minute);
    return ok && hour <= 23 && minute <= 59;
}

// The 28 result lines in the result box's order, as the almanac takes them from the finder.
std::vector<std::string> resultLines(const Finder& finder) {
    std::vector<std::string> lines;
    for (const EventMoment& e : finder.orderedMoments()) {
        lines.push_back(finder.kekka[e.month][lineColumn(e.kind)]);
    }
    return lines;
}

// The year's first days and month listings as the front ends take them, without the term
// files.
std::optional<almanac::YearAlmanac> dayCycles(int year, Failures& failures, const std::string& at) {
    almanac::AlmanacOptions options;
    options.solarTerms = false;
    try {
        return almanac::yearAlmanac(static_cast<std::int16_t>(year), options);
    } catch (const std::exception& e) {
        failures.add(at + "the year's first days threw: " + e.what());
        return std::nullopt;
    }
}

std::vector<std::string> splitLines(const std::string& text, const std::string& end) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t at = text.find(end, start);
        if (at == std::string::npos) {
            lines.push_back(text.substr(start) + "<no line end>");
            break;
        }
        lines.push_back(text.substr(start, at - start));
        start = at + end.size();
    }
    return lines;
}

// Bounds learnt from the whole range and kept with a margin: the refined moment puts the
// Sun within this many degrees of the target (0.0005 degree is 12 seconds of time), and
// between two events the Sun moves at 0.93..1.07 degrees a day.
constexpr double kMaxResidual = 5e-4;
constexpr double kMinRate = 0.93;
constexpr double kMaxRate = 1.07;

// The day-by-day search starts each event from a fixed day of the month, so it holds only
// while the calendar keeps the seasons near those days. 春分 is the first to break: its
// search assumes that at 00:00 of March 20 the Sun is within the last 12 degrees before the
// equinox or not yet 5 degrees past it. Far from the present (before about -16700 and after
// about 13650) the calendar year and the theory's year have drifted so far apart that the
// Sun is already further on; 春分 then refines towards no crossing at all, and the events
// lose their order (after about 29600 雨水 lands a year late too). Such years must still
// compute, with well-formed lines; the checks of time order, of the Sun's rate and of 春分's
// longitude apply where the assumption holds.
bool searchStartsHold(int year, const Tables& tables) {
    const double lambda = sunPosition(year, 3, 20.0, tables).longitude;
    return lambda > 348 || lambda <= 5;
}

class YearChecker {
  public:
    YearChecker(const Tables& tables, Failures& failures) : tables_(tables), failures_(failures) {}

    void check(int year) {
        const std::string at = "year " + std::to_string(year) + ": ";
        Finder finder(tables_);
        try {
            finder.calculate(static_cast<std::int16_t>(year));
        } catch (const std::exception& e) {
            failures_.add(at + "calculate threw: " + e.what());
            previousLastJd_.reset();
            return;
        }
        checkLines(finder, at);
        checkMoments(finder, at);
        const std::optional<almanac::YearAlmanac> cycles = dayCycles(year, failures_, at);
        if (!cycles) {
            return;
        }
        checkFirstDays(*cycles, year, at);
        const bool allMonths = std::find(std::begin(kListingYears), std::end(kListingYears),
                                         year) != std::end(kListingYears);
        for (int m = 1; m <= 12; ++m) {
            if (allMonths || m == floorMod(year, 12) + 1) {
                checkListing(*cycles, year, m, at);
            }
        }
    }

    double worstResidual() const { return worstResidual_; }
    double minRate() const { return minRate_; }
    double maxRate() const { return maxRate_; }
    int soundYears() const { return soundYears_; }

  private:
    void checkLines(const Finder& finder, const std::string& at) {
        const std::vector<std::string> lines = resultLines(finder);
        const auto moments = finder.orderedMoments();
        for (std::size_t i = 0; i < 28; ++i) {
            Shown shown;
            if (!parseLine(lines[i], kLineNames[i], shown)) {
                failures_.add(at + "line " + std::to_string(i + 1) + " \"" + lines[i] +
                              "\" is not \"" + kLineNames[i] + "     DD 日 HH 時  MM 分\"");
                continue;
            }
            // The shown minute is the JST moment rounded to the minute (seconds truncated
            // first, so up to half a minute either way).
            const double shownDay =
                static_cast<double>(shown.day) + shown.hour / 24.0 + shown.minute / 1440.0;
            if (!(std::fabs(shownDay - moments[i].jstDay) <= 0.5 / 1440 + 1e-7)) {
                failures_.add(at + "line " + std::to_string(i + 1) + " \"" + lines[i] +
                              "\" does not show the moment " + std::to_string(moments[i].jstDay));
            }
        }
    }

    void checkMoments(const Finder& finder, const std::string& at) {
        const bool sound = searchStartsHold(finder.yy, tables_);
        soundYears_ += sound ? 1 : 0;
        const auto moments = finder.orderedMoments();
        double previousJd = 0;
        for (std::size_t i = 0; i < 28; ++i) {
            const EventMoment& e = moments[i];
            const std::string what =
                at + "event " + std::to_string(i + 1) + " (" + kLineNames[i] + ")";
            if (e.target != kLineTargets[i]) {
                failures_.add(what + " has target " + std::to_string(e.target));
            }
            const bool shunbun = e.month == 3 && e.kind == EventKind::Chuki;
            if (sound || !shunbun) {
                const SunState sun = sunPosition(finder.yy, e.month, e.theoryDay, tables_);
                const double residual = std::fabs(angleDifference(sun.longitude, kLineTargets[i]));
                worstResidual_ = std::max(worstResidual_, residual);
                if (!(residual <= kMaxResidual)) {
                    failures_.add(what + ": the Sun is at " + std::to_string(sun.longitude) +
                                  " degrees at the found moment");
                }
            }
            const double jd = julianday(finder.yy, e.month, e.theoryDay);
            if (sound && i > 0) {
                checkRate(what, kLineTargets[i - 1], previousJd, kLineTargets[i], jd);
            } else if (sound && previousLastJd_) {
                checkRate(what + " after the previous year's 冬至", 270, *previousLastJd_, 285, jd);
            }
            previousJd = jd;
        }
        if (sound) {
            previousLastJd_ = previousJd;
        } else {
            previousLastJd_.reset();
        }
    }

    void checkRate(const std::string& what, double fromLongitude, double fromJd, double toLongitude,
                   double toJd) {
        const double degrees = std::fmod(toLongitude - fromLongitude + 360, 360.0);
        const double rate = degrees / (toJd - fromJd);
        minRate_ = std::min(minRate_, rate);
        maxRate_ = std::max(maxRate_, rate);
        if (!(toJd > fromJd && rate >= kMinRate && rate <= kMaxRate)) {
            failures_.add(what + ": " + std::to_string(toJd - fromJd) +
                          " days after the event before");
        }
    }

    void checkFirstDays(const almanac::YearAlmanac& a, int year, const std::string& at) {
        for (int m = 1; m <= 12; ++m) {
            const long long days = daysFromCivil(year, m, 1);
            const almanac::FirstDay& first = a.firstDays[static_cast<std::size_t>(m - 1)];
            const int k = first.sexagenary;
            const int w = first.weekday;
            if (k != expectedKanshi(days) || w != expectedYoubi(days)) {
                failures_.add(at + "month " + std::to_string(m) + " first day " +
                              std::to_string(k) + "/" + std::to_string(w) + ", expected " +
                              std::to_string(expectedKanshi(days)) + "/" +
                              std::to_string(expectedYoubi(days)));
                continue;
            }
            if (sexagenaryNames[static_cast<std::size_t>(k)] !=
                kNames[static_cast<std::size_t>(k - 1)]) {
                failures_.add(at + "month " + std::to_string(m) + " first-day name \"" +
                              sexagenaryNames[static_cast<std::size_t>(k)] + "\"");
            }
        }
    }

    void checkListing(const almanac::YearAlmanac& a, int year, int m, const std::string& at) {
        const std::string where = at + "month " + std::to_string(m) + " listing: ";
        const almanac::MonthListing& listing = a.months[static_cast<std::size_t>(m - 1)];
        const std::vector<std::string> lines = splitLines(listing.dayLines, "\r\n");
        const int days = monthLength(year, m);
        if (static_cast<int>(lines.size()) != days) {
            failures_.add(where + std::to_string(lines.size()) + " lines for " +
                          std::to_string(days) + " days");
            return;
        }
        const long long first = daysFromCivil(year, m, 1);
        for (int d = 1; d <= days; ++d) {
            const std::string expected =
                std::to_string(d) + "日(" + kWeekdays[expectedYoubi(first + d - 1) - 1] + ")  " +
                kNames[static_cast<std::size_t>(expectedKanshi(first + d - 1) - 1)];
            if (lines[static_cast<std::size_t>(d - 1)] != expected) {
                failures_.add(where + "day " + std::to_string(d) + " \"" +
                              lines[static_cast<std::size_t>(d - 1)] + "\", expected \"" +
                              expected + "\"");
                return;
            }
        }
        // The year's cycle turns in February (January belongs to the year before; year 4
        // was 甲子); the month cycle runs on across years (January 2000 was 丁丑).
        const long long cycleYear = m == 1 ? year - 1 : year;
        const std::string nen =
            kNames[static_cast<std::size_t>(floorMod(cycleYear - 4, 60))] + "年";
        const std::string tuki =
            std::to_string(m) + "月" +
            kNames[static_cast<std::size_t>(floorMod(12LL * year + m - 1 + 13, 60))];
        if (listing.yearCaption != nen || listing.monthCaption != tuki) {
            failures_.add(where + "captions \"" + listing.yearCaption + "\" \"" +
                          listing.monthCaption + "\", expected \"" + nen + "\" \"" + tuki + "\"");
        }
    }

    const Tables& tables_;
    Failures& failures_;
    std::optional<double> previousLastJd_;
    double worstResidual_ = 0;
    int soundYears_ = 0;
    double minRate_ = 1e9;
    double maxRate_ = 0;
};

int sweepYears(const Tables& tables, int first, int last) {
    Failures failures;
    YearChecker checker(tables, failures);
    const auto start = std::chrono::steady_clock::now();
    for (int year = first; year <= last; ++year) {
        checker.check(year);
        if ((year - first) % 2048 == 2047) {
            std::cerr << "reached year " << year << "\n";
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("years %d..%d: %d failures in %.1f s; worst residual %.2e degree; %d years with "
                "sound search starts, the Sun's rate between their events %.4f..%.4f degree/day\n",
                first, last, failures.count(), seconds, checker.worstResidual(),
                checker.soundYears(), checker.minRate(), checker.maxRate());
    return failures.count() == 0 ? 0 : 1;
}

struct Run {
    int status = -1;
    std::string out;
};

Run run(const std::string& command) {
    Run r;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return r;
    }
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) {
        r.out.append(buf, n);
    }
    const int status = ::pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string withoutCarriageReturns(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

int sweepCli(const Tables& tables, const std::string& dataDir, const std::string& cli,
             const std::vector<int>& years) {
    Failures failures;
    for (std::size_t i = 0; i < years.size(); ++i) {
        const int year = years[i];
        const std::string at = "sorvane-cli " + std::to_string(year) + ": ";
        Finder finder(tables);
        finder.calculate(static_cast<std::int16_t>(year));

        // The default data folder (beside the program) for most years, --data for the rest.
        const std::string data = i % 2 == 0 ? "" : " --data '" + dataDir + "'";
        const std::string base = "'" + cli + "' " + std::to_string(year) + data;

        const std::optional<almanac::YearAlmanac> cycles = dayCycles(year, failures, at);
        if (!cycles) {
            continue;
        }
        std::string expected;
        for (const std::string& line : resultLines(finder)) {
            expected += line + "\n";
        }
        expected += "\n";
        for (int m = 1; m <= 12; ++m) {
            const int k = cycles->firstDays[static_cast<std::size_t>(m - 1)].sexagenary;
            expected += std::to_string(m) + "月 " + kNames[static_cast<std::size_t>(k - 1)] + "\n";
        }
        const Run report = run(base);
        if (report.status != 0 || report.out != expected) {
            failures.add(at + "exit " + std::to_string(report.status) + ", output:\n" + report.out);
        }

        const int m = static_cast<int>(floorMod(year, 12)) + 1;
        const almanac::MonthListing& listing = cycles->months[static_cast<std::size_t>(m - 1)];
        const Run month = run(base + " --month " + std::to_string(m));
        const std::string expectedMonth = listing.yearCaption + "\n" + listing.monthCaption +
                                          "\n\n" + withoutCarriageReturns(listing.dayLines);
        if (month.status != 0 || month.out != expectedMonth) {
            failures.add(at + "--month " + std::to_string(m) + ": exit " +
                         std::to_string(month.status) + ", output:\n" + month.out);
        }

        const Run json = run(base + " --json");
        std::vector<std::string> jsonLines;
        if (json.status == 0 && nlohmann::json::accept(json.out)) {
            const auto doc = nlohmann::json::parse(json.out);
            for (const auto& event : doc["events"]) {
                jsonLines.push_back(event.value("line", ""));
            }
        }
        const bool allLines = jsonLines == resultLines(finder);
        if (!allLines) {
            failures.add(at + "--json: exit " + std::to_string(json.status) +
                         ", not every result line in:\n" + json.out.substr(0, 2000));
        }
    }
    // Just past the range: a bad argument, nothing computed.
    for (const char* year : {"32768", "-32769"}) {
        const Run r = run("'" + cli + "' " + year + " 2>/dev/null");
        if (r.status != 2 || !r.out.empty()) {
            failures.add(std::string("sorvane-cli ") + year + ": exit " + std::to_string(r.status) +
                         ", output \"" + r.out + "\"");
        }
    }
    std::printf("terminal program, %zu years: %d failures\n", years.size(), failures.count());
    return failures.count() == 0 ? 0 : 1;
}

int usage() {
    std::cerr << "usage: year_sweep years DATA_DIR FIRST LAST\n"
                 "       year_sweep cli DATA_DIR SORVANE_CLI YEAR...\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        return usage();
    }
    const std::string mode = argv[1];
    Tables tables;
    try {
        tables = loadTables(argv[2]);
    } catch (const DataFileError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    if (mode == "years" && argc == 5) {
        const int first = std::atoi(argv[3]);
        const int last = std::atoi(argv[4]);
        if (first < -32768 || last > 32767 || first > last) {
            return usage();
        }
        return sweepYears(tables, first, last);
    }
    if (mode == "cli" && argc >= 5) {
        std::vector<int> years;
        for (int i = 4; i < argc; ++i) {
            years.push_back(std::atoi(argv[i]));
        }
        return sweepCli(tables, argv[2], argv[3], years);
    }
    return usage();
}
