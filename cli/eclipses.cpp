#include "cli/eclipses.h"

#include "cli/options.h"
#include "ephemeris/data_location.h"
#include "export/atomic_file.h"
#include "export/eclipse_document.h"
#include "export/icalendar.h"
#include "horizon/day_text.h"
#include "horizon/places.h"
#include "sky/precise_year.h"

#include <ctime>
#include <filesystem>
#include <optional>

namespace sorvane::cli {

namespace {

constexpr int kBadArgument = 2;

struct EclipseError {
    std::string message;
};

const std::string& valueOf(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) {
        throw EclipseError{args[i] + " には値が必要です"};
    }
    return args[++i];
}

int yearOf(const std::string& text) {
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < sky::kFirstYear || value > sky::kLastYear) {
        throw EclipseError{"--eclipses " + quotedArgument(text) + "：" +
                           std::to_string(sky::kFirstYear) + "〜" + std::to_string(sky::kLastYear) +
                           " の年を書いてください"};
    }
    return static_cast<int>(value);
}

// A latitude (limit 90) or longitude (limit 180) in decimal degrees, north and east positive.
double degreesOf(const std::string& option, const std::string& text, double limit) {
    double value = 0;
    switch (readDegrees(text, limit, value)) {
    case DegreesProblem::None:
        return value;
    case DegreesProblem::NotANumber:
        throw EclipseError{option + " " + quotedArgument(text) + "：度を10進数で書いてください（" +
                           (limit == 90 ? "北緯が正" : "東経が正") + "）"};
    case DegreesProblem::OutOfRange:
        break;
    }
    const std::string bound = std::to_string(static_cast<int>(limit));
    throw EclipseError{option + " " + quotedArgument(text) + "：-" + bound + "〜" + bound +
                       " の度数を書いてください"};
}

} // namespace

std::string eclipsesUsage() {
    return "  --eclipses YEAR [--place P | --lat DEG --lon DEG] [--json] [--ics FILE]\n"
           "              The year's solar and lunar eclipses with the contacts for the place\n"
           "              (default 東京; or --lat DEG --lon DEG, decimal, north and east\n"
           "              positive, at height 0) in JST, the Sun's or the Moon's altitude and\n"
           "              azimuth at each; --json to the second, --ics FILE as calendar events.\n";
}

LifeRun runEclipses(const std::vector<std::string>& args) {
    LifeRun run;
    try {
        std::optional<int> year;
        std::optional<std::string> place;
        std::optional<std::string> icsFile;
        std::optional<std::string> dataDir;
        std::optional<double> latitude;
        std::optional<double> longitude;
        bool json = false;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& a = args[i];
            if (a == "--eclipses") {
                year = yearOf(valueOf(args, i));
            } else if (a == "--place") {
                place = valueOf(args, i);
            } else if (a == "--lat") {
                latitude = degreesOf(a, valueOf(args, i), 90);
            } else if (a == "--lon") {
                longitude = degreesOf(a, valueOf(args, i), 180);
            } else if (a == "--ics") {
                icsFile = valueOf(args, i);
            } else if (a == "--data") {
                dataDir = valueOf(args, i);
            } else if (a == "--json") {
                json = true;
            } else {
                throw EclipseError{quotedArgument(a) + "：--eclipses とは使えない引数です"};
            }
        }
        if (place && (latitude || longitude)) {
            throw EclipseError{std::string("--place と ") + (latitude ? "--lat" : "--lon") +
                               " は一緒に使えません：地名か緯度・経度のどちらかを書いてください"};
        }
        if (latitude.has_value() != longitude.has_value()) {
            throw EclipseError{latitude ? "--lat には --lon も必要です"
                                        : "--lon には --lat も必要です"};
        }
        horizon::NamedPlace named = horizon::tokyo();
        if (latitude && longitude) {
            const horizon::Observer observer{*latitude, *longitude};
            named = horizon::NamedPlace{horizon::coordinatesText(observer), observer};
        } else if (place) {
            const std::vector<horizon::NamedPlace> places =
                horizon::loadPlaces(dataDir ? std::filesystem::path(*dataDir) : findDataDir());
            const horizon::NamedPlace* found = horizon::findPlace(places, *place);
            if (found == nullptr) {
                throw EclipseError{"--place " + quotedArgument(*place) + "：知らない地点です"};
            }
            named = *found;
        }
        const exports::EclipseYear y = exports::eclipseYear(*year, named.name, named.observer);
        if (icsFile) {
            const std::string calendar = exports::icsEventCalendar(
                "日食・月食（" + named.name + "）", exports::eclipseEvents(y), std::time(nullptr));
            if (*icsFile == "-") {
                run.out = calendar;
                return run;
            }
            exports::writeTextFile(*icsFile, calendar);
        }
        run.out = json ? exports::eclipseJson(y) : exports::eclipseReport(y);
    } catch (const EclipseError& e) {
        run.status = kBadArgument;
        run.err = e.message;
    } catch (const std::exception&) {
        return failedRun(std::current_exception());
    }
    return run;
}

} // namespace sorvane::cli
