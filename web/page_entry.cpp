// The web edition's calendar page: the desktop page's month and day texts as JSON
// (export/page_document.h) for the page's script, beside the terminal program's main in the
// same module. A Page is made by the script and lives as long as the page.
#include "almanac/month_page.h"
#include "calendar/civil_date.h"
#include "calendar/quoted_text.h"
#include "ephemeris/data_location.h"
#include "ephemeris/tables.h"
#include "export/page_document.h"
#include "horizon/places.h"

#include <emscripten/emscripten.h>
#include <exception>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace {

using namespace sorvane;

struct Page {
    Tables tables;
    almanac::CalendarYears years;
    std::vector<horizon::NamedPlace> places;
    std::string answer; // the last document handed out
    explicit Page(Tables loaded)
        : tables(std::move(loaded)), years(tables), places(horizon::loadPlaces(findDataDir())) {}
};

const char* errorAnswer(std::string& answer, const std::string& message) {
    answer = nlohmann::json{{"error", message}}.dump() + "\n";
    return answer.c_str();
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
    Page& page = *static_cast<Page*>(handle);
    if (year < -32768 || year > 32767 || month < 1 || month > 12) {
        return errorAnswer(page.answer, "年は-32768〜32767、月は1〜12です");
    }
    try {
        page.answer = exports::monthPageJson(page.years, year, month);
        return page.answer.c_str();
    } catch (const std::exception& e) {
        return errorAnswer(page.answer, e.what());
    }
}

// The details of a day, with the rising and setting times at the place named (one of the
// places file's) or, when name is empty, at latitude/longitude.
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_day(void* handle, int year, int month, int day,
                                                  const char* name, double latitude,
                                                  double longitude) {
    Page& page = *static_cast<Page*>(handle);
    const CivilDate date{year, month, day};
    if (year < -32768 || year > 32767 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month)) {
        return errorAnswer(page.answer, "その日はありません");
    }
    horizon::NamedPlace place = horizon::tokyo();
    if (name != nullptr && name[0] != '\0') {
        const horizon::NamedPlace* found = horizon::findPlace(page.places, name);
        if (found == nullptr) {
            return errorAnswer(page.answer, "知らない地名です：" + quotedText(name));
        }
        place = *found;
    } else {
        place = horizon::NamedPlace{std::string(), horizon::Observer{latitude, longitude}};
        if (!horizon::validObserver(place.observer)) {
            return errorAnswer(page.answer, "緯度は-90〜90、経度は-180〜180です");
        }
    }
    try {
        page.answer = exports::dayPageJson(page.years, date, place);
        return page.answer.c_str();
    } catch (const std::exception& e) {
        return errorAnswer(page.answer, e.what());
    }
}

// The places of the place list, in the places file's order: ["札幌", ...].
EMSCRIPTEN_KEEPALIVE const char* sorvane_page_places(void* handle) {
    Page& page = *static_cast<Page*>(handle);
    nlohmann::json names = nlohmann::json::array();
    for (const horizon::NamedPlace& p : page.places) {
        names.push_back({{"name", p.name},
                         {"latitude", p.observer.latitude},
                         {"longitude", p.observer.longitude}});
    }
    page.answer = names.dump() + "\n";
    return page.answer.c_str();
}

} // extern "C"
