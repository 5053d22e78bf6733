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
    const ReadDay read = readDay(text, options.julian);
    if (!read.ok) {
        throw UsageError("--wareki " + quotedArgument(text) + ": " + read.message);
    }
    const long long jdn = read.jdn;
    const char* inputCalendar = read.inputCalendar;
    const DayReport report = describeDay(jdn);
    return options.json ? dayReportJson(report, text, inputCalendar) : dayReportText(report);
}

} // namespace sorvane::cli
