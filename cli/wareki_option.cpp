// The terminal program's --wareki and --julian: one day between 和暦 and the Western
// calendars, read and described by wareki/.
#include "cli/options.h"
#include "wareki/day_report.h"
#include "wareki/parse.h"

#include <algorithm>

namespace sorvane::cli {

void checkWarekiOptions(const Options& options, const std::vector<std::string>& given,
                        bool yearGiven) {
    if (options.julian && !options.wareki) {
        throw UsageError("--julian needs --wareki YYYY-MM-DD");
    }
    if (!options.wareki) {
        return;
    }
    if (yearGiven) {
        throw UsageError("--wareki takes a date, not a YEAR");
    }
    for (const std::string& name : given) {
        if (name != "--wareki" && name != "--julian" && name != "--json") {
            throw UsageError("--wareki and " + name +
                             " cannot be combined: --wareki converts one day");
        }
    }
}

std::string warekiReport(const Options& options) {
    using namespace wareki;
    const std::string& text = *options.wareki;
    long long jdn = 0;
    const char* inputCalendar = "wareki";
    if (const auto western = parseIso(text)) {
        const Western calendar = options.julian ? Western::Julian : Western::Gregorian;
        inputCalendar = calendarKey(calendar);
        if (western->year < 1 || !isValid(calendar, *western)) {
            throw UsageError("--wareki " + quotedArgument(text) + ": " + calendarName(calendar) +
                             "にない日付です" + (western->year < 1 ? "（年は1から9999まで）" : ""));
        }
        jdn = jdnOf(calendar, *western);
    } else {
        if (options.julian) {
            throw UsageError("--julian goes with a Western date YYYY-MM-DD, not with " +
                             quotedArgument(text));
        }
        const ParsedWareki parsed = parseWareki(text);
        if (parsed.status != ParseStatus::Ok) {
            throw UsageError("--wareki " + quotedArgument(text) + ": " + parsed.message);
        }
        jdn = parsed.jdn;
    }
    const DayReport report = describeDay(jdn);
    return options.json ? dayReportJson(report, text, inputCalendar) : dayReportText(report);
}

} // namespace sorvane::cli
