// The web edition's calendar page: the desktop page's month and day texts as JSON
// (export/page_document.h) for the page's script, beside the terminal program's main in the
// same module. A Page is made by the script and lives as long as the page. Every text comes
// in the module's heap (never on its stack), is bounded before it is read, and every failure
// comes back as {"error": message in Japanese}: a failed call leaves the page as it was.
#include "almanac/coverage.h"
#include "almanac/month_page.h"
#include "calendar/civil_date.h"
#include "calendar/typed_date.h"
#include "daysearch/day_search.h"
#include "daysearch/query.h"
#include "ephemeris/data_location.h"
#include "ephemeris/tables.h"
#include "export/life_document.h"
#include "export/page_document.h"
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
    daysearch::Vocabulary vocabulary;
    std::optional<daysearch::DaySearch> search; // made on the first search
    std::string answer;                         // the last document handed out
    explicit Page(Tables loaded)
        : tables(std::move(loaded)), years(tables), places(horizon::loadPlaces(findDataDir())) {}
};

const char* errorAnswer(std::string& answer, const std::string& message) {
    answer = exports::pageErrorJson(message);
    return answer.c_str();
}

// What every call answers for a page the script does not have.
const char* noPage() {
    return "{\"error\":\"暦の表を読み込めていません\"}\n";
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
        return errorAnswer(page.answer, "メモリが足りず計算できませんでした");
    } catch (const std::exception& e) {
        return errorAnswer(page.answer, std::string("計算できませんでした：") + e.what());
    }
    return page.answer.c_str();
}

// The place named (one of the places file's) or, when name is empty, at latitude/longitude;
// the message that refuses it, if any.
std::optional<std::string> placeOf(const Page& page, const char* name, double latitude,
                                   double longitude, horizon::NamedPlace& place) {
    const std::optional<std::string_view> placeName = bounded(name, exports::kMaxPlaceNameBytes);
    if (!placeName) {
        return "地名が長すぎます（" + std::to_string(exports::kMaxPlaceNameBytes) + "バイトまで）";
    }
    if (!placeName->empty()) {
        const horizon::NamedPlace* found = horizon::findPlace(page.places, std::string(*placeName));
        if (found == nullptr) {
            return "知らない地名です：" + exports::quotedInput(*placeName);
        }
        place = *found;
        return std::nullopt;
    }
    place = horizon::NamedPlace{std::string(), horizon::Observer{latitude, longitude}};
    if (!horizon::validObserver(place.observer)) {
        return std::string("緯度は-90〜90、経度は-180〜180です");
    }
    return std::nullopt;
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
        return errorAnswer(page.answer, "年は-32768〜32767、月は1〜12です");
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
        return errorAnswer(page.answer, "その日はありません");
    }
    horizon::NamedPlace place;
    if (const std::optional<std::string> refused =
            placeOf(page, name, latitude, longitude, place)) {
        return errorAnswer(page.answer, *refused);
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
// latitude/longitude as for a day.
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_year(void* handle, int year, const char* name,
                                                   double latitude, double longitude) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    horizon::NamedPlace place;
    if (const std::optional<std::string> refused =
            placeOf(page, name, latitude, longitude, place)) {
        return errorAnswer(page.answer, *refused);
    }
    return answered(page, [&] { return exports::yearPageJson(page.tables, year, place); });
}

// The names of the search's check boxes (exports::searchVocabularyJson).
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_vocabulary(void* handle) {
    if (handle == nullptr) {
        return noPage();
    }
    Page& page = *static_cast<Page*>(handle);
    return answered(page, [&] { return exports::searchVocabularyJson(page.vocabulary); });
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
        return errorAnswer(page.answer, "条件が長すぎます（" +
                                            std::to_string(exports::kMaxQueryCharacters) +
                                            "文字まで）。");
    }
    const std::optional<std::string_view> first = bounded(from, 64);
    const std::optional<std::string_view> last = bounded(to, 64);
    if (!first || !last) {
        return errorAnswer(page.answer, "期間の日付が長すぎます（例：2027-01-01）。");
    }
    return answered(page, [&] {
        if (!page.search) {
            page.search.emplace(page.tables);
        }
        return exports::findPageJson(*page.search, page.vocabulary, *text, *first, *last);
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
        return errorAnswer(page.answer, "日付が長すぎます（200バイトまで）");
    }
    return answered(page, [&] {
        const wareki::ReadDay read = wareki::readDay(*input, julian != 0);
        if (!read.ok) {
            return exports::pageErrorJson(exports::quotedInput(*input) + "：" + read.message);
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
        return errorAnswer(page.answer, "入力が長すぎます");
    }
    return answered(page, [&] {
        lifeevents::Request request;
        const std::optional<lifeevents::Kind> found = lifeevents::kindOfName(*k);
        if (!found) {
            return exports::pageErrorJson("知らない行事です：" + exports::quotedInput(*k));
        }
        request.kind = *found;
        const auto day = [](std::string_view text) -> std::optional<CivilDate> {
            const TypedDate typed = readTypedDate(text);
            return typed.whole() ? std::optional<CivilDate>(typed.date()) : std::nullopt;
        };
        const std::optional<CivilDate> now = day(*t);
        if (!now) {
            return exports::pageErrorJson("今日の日付が読めません");
        }
        request.today = *now;
        if (!d->empty()) {
            request.date = day(*d);
            if (!request.date) {
                return exports::pageErrorJson("日付が正しくありません：" +
                                              exports::quotedInput(*d));
            }
        }
        if (!y->empty()) {
            const std::string digits(*y);
            char* end = nullptr;
            const long value = std::strtol(digits.c_str(), &end, 10);
            if (end == digits.c_str() || *end != '\0' || value < -32768 || value > 32767) {
                return exports::pageErrorJson("年が正しくありません：" + exports::quotedInput(*y));
            }
            request.year = static_cast<int>(value);
        }
        request.sex = lifeevents::sexOfName(*x).value_or(lifeevents::Sex::Unknown);
        const almanac::Days days(page.tables, almanac::Minutes::Observatory);
        const lifeevents::Result result = lifeevents::plan(request, days);
        if (result.status != lifeevents::Status::Ok) {
            return exports::pageErrorJson(result.message);
        }
        return exports::lifeJson(result.plan);
    });
}

} // extern "C"
