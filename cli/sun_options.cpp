// The terminal program's --sun, --place, --lat and --lon.
#include "almanac/coverage.h"
#include "calendar/decimal_number.h"
#include "calendar/year_text.h"
#include "cli/options.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace sorvane::cli {

DegreesProblem readDegrees(const std::string& text, double limit, double& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (!text.empty() && text[0] == '+') {
        ++first;
    }
    double read = 0;
    const auto [end, ec] = parseDouble(first, last, read);
    if (text.empty() || ec != std::errc() || end != last || !std::isfinite(read)) {
        return DegreesProblem::NotANumber;
    }
    if (read < -limit || read > limit) {
        return DegreesProblem::OutOfRange;
    }
    value = read;
    return DegreesProblem::None;
}

double parseDegrees(const std::string& option, const std::string& text, double limit) {
    double value = 0;
    switch (readDegrees(text, limit, value)) {
    case DegreesProblem::None:
        return value;
    case DegreesProblem::NotANumber:
        throw UsageError(option + " " + quotedArgument(text) + " is not a number of degrees");
    case DegreesProblem::OutOfRange:
        break;
    }
    const auto bound = std::to_string(static_cast<int>(limit));
    throw UsageError(option + " " + quotedArgument(text) + " is outside -" + bound + ".." + bound +
                     " degrees");
}

void checkSunOptions(const Options& options, const std::vector<std::string>& given) {
    const auto named = [&](const char* name) {
        return std::find(given.begin(), given.end(), name) != given.end();
    };
    for (const char* place : {"--place", "--lat", "--lon"}) {
        if (named(place) && !options.sun) {
            throw UsageError(std::string(place) + " needs --sun");
        }
    }
    if (!options.sun) {
        return;
    }
    for (const char* other :
         {"--month", "--precise", "--zassetsu", "--days", "--phases", "--holidays", "--notes"}) {
        if (named(other)) {
            throw UsageError(std::string("--sun and ") + other +
                             " cannot be combined: each prints a listing of its own");
        }
    }
    if (named("--ics")) {
        throw UsageError("--sun and --ics cannot be combined: the rising and setting times "
                         "are not written as a calendar file (list them as text or with --json)");
    }
    if (options.place && (options.latitude || options.longitude)) {
        throw UsageError(std::string("--place and ") + (options.latitude ? "--lat" : "--lon") +
                         " cannot be combined: give a name or coordinates");
    }
    if (options.latitude.has_value() != options.longitude.has_value()) {
        throw UsageError(options.latitude ? "--lat needs --lon" : "--lon needs --lat");
    }
    // The times of the Sun and the Moon come from the precise mode's models.
    if (!almanac::covers(almanac::Source::Precise, options.year)) {
        throw UsageError("--sun covers the years " +
                         almanac::spanText(almanac::coverage(almanac::Source::Precise)) +
                         " (the years of the precise mode's time and Sun models); " +
                         yearText(options.year) + " is outside it");
    }
}

} // namespace sorvane::cli
