// The web edition's calendar page: the desktop page's month and day texts as JSON
// (export/page_document.h) for the page's script, beside the terminal program's main in the
// same module. A Page is made by the script and lives as long as the page. Every text comes
// in the module's heap (never on its stack), is bounded before it is read, and every failure
// comes back as {"error": message in Japanese, "code", "field"} (export/page_error.h): a
// failed call leaves the page as it was.
#include "almanac/coverage.h"
#include "almanac/month_page.h"
#include "calendar/civil_date.h"
#include "daysearch/day_search.h"
#include "daysearch/query.h"
#include "ephemeris/data_location.h"
#include "ephemeris/tables.h"
#include "export/life_document.h"
#include "export/page_document.h"
#include "export/page_error.h"
#include "export/page_files.h"
#include "export/search_text.h"
#include "horizon/places.h"
#include "lifeevents/life_events.h"
#include "wareki/day_report.h"
#include "wareki/parse.h"

#include <cstring>
#include <emscripten/emscripten.h>
#include <exception>
#include <memory>
#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace sorvane;

struct Page {
    Tables tables;
    almanac::CalendarYears years;
    std::vector<horizon::NamedPlace> places;
    std::optional<daysearch::Vocabulary> words; // see vocabulary()
    std::optional<daysearch::DaySearch> search; // made on the first search
    std::string answer;                         // the last document handed out
    explicit Page(Tables loaded)
        : tables(std::move(loaded)), years(tables), places(horizon::loadPlaces(findDataDir())) {}
    // 日を探す's words: not needed for a month or a day, so not made before the first search.
    const daysearch::Vocabulary& vocabulary() {
        if (!words) {
            words.emplace();
        }
        return *words;
    }
};

using exports::PageProblem;

const char* errorAnswer(std::string& answer, PageProblem problem, std::string_view detail = {}) {
    answer = exports::pageErrorJson(exports::pageError(problem, detail));
    return answer.c_str();
}

// What every call answers for a page the script does not have.
const char* noPage() {
    static const std::string answer =
        exports::pageErrorJson(exports::pageError(PageProblem::NoTables));
    return answer.c_str();
}

// The text at text, at most limit bytes long, or nothing when it is longer (or missing).
std::optional<std::string_view> bounded(const char* text, std::size_t limit) {
    if (text == nullptr) {
        return std::string_view();
    }
    // strnlen stops at the end of the text: nothing past it is read.
    const std::size_t length = strnlen(text, limit + 1);
    if (length > limit) {
        return std::nullopt;
    }
    return std::string_view(text, length);
}

// The answer of make(), or the error document of what it threw.
template <typename Make> const char* answered(Page& page, Make make) {
    try {
        page.answer = make();
    } catch (const std::bad_alloc&) {
        page.answer.clear();
        page.answer.shrink_to_fit();
        return errorAnswer(page.answer, PageProblem::OutOfMemory);
    } catch (const std::exception& e) {
        return errorAnswer(page.answer, PageProblem::CalculationFailed, e.what());
    }
    return page.answer.c_str();
}

// The place named (one of the places file's) or, when name is empty, at latitude/longitude;
// the page's error document that refuses it, if any.
const char* placeOf(Page& page, const char* name, double latitude, double longitude,
                    horizon::NamedPlace& place) {
    const std::optional<std::string_view> placeName = bounded(name, exports::kMaxPlaceNameBytes);
    if (!placeName) {
        return errorAnswer(page.answer, PageProblem::PlaceTooLong);
    }
    if (!placeName->empty()) {
        const horizon::NamedPlace* found = horizon::findPlace(page.places, std::string(*placeName));
        if (found == nullptr) {
            return errorAnswer(page.answer, PageProblem::UnknownPlace, *placeName);
        }
        place = *found;
        return nullptr;
    }
    place = horizon::NamedPlace{std::string(), horizon::Observer{latitude, longitude}};
    if (!horizon::validObserver(place.observer)) {
        return errorAnswer(page.answer, PageProblem::BadObserver);
    }
    return nullptr;
}

} // namespace

extern "C" {

// A page with the term files and places loaded; null when they cannot be read.
EMSCRIPTEN_KEEPALIVE void* sorvane_page_new() {
    try {
        return new Page(loadTables(findDataDir()));
    } catch (const std::exception&) {
        return nullptr;
    }
}

EMSCRIPTEN_KEEPALIVE void sorvane_page_delete(void* page) {
    delete static_cast<Page*>(page);
}

// The month page of year-month as JSON ({"error": ...} for a month out of range).
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_month(void* handle, int year, int month) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    if (!almanac::covers(almanac::Source::Year, year) || month < 1 || month > 12) {
        return errorAnswer(page.answer, PageProblem::MonthOutside);
    }
    return answered(page, [&] { return exports::monthPageJson(page.years, year, month); });
}

// The details of a day, with the rising and setting times at the place named (one of the
// places file's) or, when name is empty, at latitude/longitude.
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_day(void* handle, int year, int month, int day,
                                                  const char* name, double latitude,
                                                  double longitude) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    const CivilDate date{year, month, day};
    if (!almanac::covers(almanac::Source::Year, year) || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month)) {
        return errorAnswer(page.answer, PageProblem::NoSuchDay);
    }
    horizon::NamedPlace place;
    if (const char* refused = placeOf(page, name, latitude, longitude, place)) {
        return refused;
    }
    return answered(page, [&] { return exports::dayPageJson(page.years, date, place); });
}

// The places of the place list, in the places file's order: ["札幌", ...].
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_places(void* handle) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    return answered(page, [&] {
        nlohmann::json names = nlohmann::json::array();
        for (const horizon::NamedPlace& p : page.places) {
            names.push_back({{"name", p.name},
                             {"latitude", p.observer.latitude},
                             {"longitude", p.observer.longitude}});
        }
        return names.dump() + "\n";
    });
}

// The year view of year (exports::yearPageJson) with the eclipses at the place, named or by
// latitude/longitude as for a day; in the solar theory's minutes with theory.
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_year(void* handle, int year, const char* name,
                                                   double latitude, double longitude, int theory) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    horizon::NamedPlace place;
    if (const char* refused = placeOf(page, name, latitude, longitude, place)) {
        return refused;
    }
    return answered(page,
                    [&] { return exports::yearPageJson(page.tables, year, place, theory != 0); });
}

// The names of the search's check boxes (exports::searchVocabularyJson).
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_vocabulary(void* handle) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    return answered(page, [&] { return exports::searchVocabularyJson(page.vocabulary()); });
}

// The years the page may ask for (exports::coverageJson).
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_coverage(void* handle) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    return answered(page, [] { return exports::coverageJson(); });
}

// The days from..to (ISO dates) that fit the query (exports::findPageJson).
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_find(void* handle, const char* query,
                                                   const char* from, const char* to) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    // Four bytes a character at most: a longer text is refused unread.
    const std::optional<std::string_view> text = bounded(query, 4 * exports::kMaxQueryCharacters);
    if (!text) {
        return errorAnswer(page.answer, PageProblem::QueryTooLong);
    }
    const std::optional<std::string_view> first = bounded(from, 64);
    const std::optional<std::string_view> last = bounded(to, 64);
    if (!first || !last) {
        return errorAnswer(page.answer, PageProblem::RangeDateTooLong);
    }
    return answered(page, [&] {
        if (!page.search) {
            page.search.emplace(page.tables);
        }
        return exports::findPageJson(*page.search, page.vocabulary(), *text, *first, *last);
    });
}

// 和暦: the day a converter's field names (wareki::readDay: a 和暦 date, or YYYY-MM-DD of the
// Gregorian calendar, of the Julian with julian != 0) as wareki::dayReportJson describes it.
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_wareki(void* handle, const char* text, int julian) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    const std::optional<std::string_view> input = bounded(text, 200);
    if (!input) {
        return errorAnswer(page.answer, PageProblem::WarekiTooLong);
    }
    return answered(page, [&] {
        const wareki::ReadDay read = wareki::readDay(*input, julian != 0);
        if (!read.ok) {
            return exports::pageErrorJson(exports::pageError(
                PageProblem::WarekiUnreadable, exports::quotedInput(*input) + "：" + read.message));
        }
        return wareki::dayReportJson(wareki::describeDay(read.jdn), std::string(*input),
                                     read.inputCalendar);
    });
}

// 行事: the kinds the page offers (exports::lifeKindsJson).
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_life_kinds(void* handle) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    return answered(page, [] { return exports::lifeKindsJson(); });
}

// 行事: the plan of a kind (its name) from a date (YYYY-MM-DD, "" for none), a year ("" for
// none), 男/女 ("" for none) and today (YYYY-MM-DD), as exports::lifeJson gives it, the
// candidates ranked in the observatory's minutes as `sorvane-cli --life` ranks them.
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_life(void* handle, const char* kind, const char* date,
                                                   const char* year, const char* sex,
                                                   const char* today) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    const auto k = bounded(kind, 64);
    const auto d = bounded(date, 64);
    const auto y = bounded(year, 16);
    const auto x = bounded(sex, 16);
    const auto t = bounded(today, 64);
    if (!k || !d || !y || !x || !t) {
        return errorAnswer(page.answer, PageProblem::LifeTooLong);
    }
    return answered(page, [&] {
        std::variant<lifeevents::Request, exports::PageError> read =
            exports::readLifeFields(exports::LifeFields{*k, *d, *y, *x, *t});
        if (const exports::PageError* error = std::get_if<exports::PageError>(&read)) {
            return exports::pageErrorJson(*error);
        }
        const lifeevents::Request& request = std::get<lifeevents::Request>(read);
        const almanac::Days days(page.tables, almanac::Minutes::Observatory);
        const lifeevents::Result result = lifeevents::plan(request, days);
        if (result.status != lifeevents::Status::Ok) {
            return exports::pageErrorJson(
                exports::lifeError(result.status, result.message, !request.date && request.year));
        }
        return exports::lifeJson(result.plan);
    });
}

// カレンダーファイル: the terminal program's command line and the file's name for a request
// of the page's fields (exports::pageFileJson), or the error naming the field to change.
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_file(void* handle, const char* request) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    // A query and its range, or a 行事's fields: well under 8 KiB.
    const std::optional<std::string_view> text =
        bounded(request, 4 * exports::kMaxQueryCharacters + 4096);
    if (!text) {
        return errorAnswer(page.answer, PageProblem::QueryTooLong);
    }
    return answered(page, [&] {
        const almanac::Days days(page.tables, almanac::Minutes::Observatory);
        return exports::pageFileJson(*text, page.vocabulary(), days);
    });
}

// How the run of a calendar file's command line went, from its exit status and whether it
// wrote any byte (exports::fileOutcomeJson).
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_file_outcome(void* handle, int status, int wrote) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    return answered(page, [&] { return exports::fileOutcomeJson(status, wrote != 0 ? 1 : 0); });
}

} // extern "C"
