#include "export/sun_document.h"

#include "calendar/civil_date.h"
#include "export/text_report.h"
#include "horizon/day_text.h"
#include "sky/delta_t.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <utility>

namespace sorvane::exports {

namespace {

// The largest uncertainty of the year's moments, seconds: at the end farther from today.
double yearUncertainty(int year) {
    return std::max(sky::momentUncertainty(year), sky::momentUncertainty(year + 1.0));
}

nlohmann::json clock(std::optional<int> minute) {
    return minute ? nlohmann::json(horizon::clockText(minute)) : nlohmann::json(nullptr);
}

} // namespace

std::string sunNote(int year) {
    const double u = yearUncertainty(year);
    if (u <= kNotedUncertainty) {
        return "";
    }
    const auto minutes = static_cast<long long>(std::ceil(u / 60.0));
    return "注：この年の時刻は±" + std::to_string(minutes) + "分ほどずれることがあります";
}

std::string sunReport(int year, const std::vector<horizon::DayTimes>& days) {
    std::string out;
    for (const horizon::DayTimes& d : days) {
        out += horizon::dayLine(d) + "\n";
    }
    if (const std::string note = sunNote(year); !note.empty()) {
        out += "\n" + note + "\n";
    }
    return out;
}

std::string sunJson(int year, const SunPlace& place, const std::vector<horizon::DayTimes>& days) {
    nlohmann::ordered_json doc;
    doc["place"] = {
        {"name", place.name.empty() ? nlohmann::json(nullptr) : nlohmann::json(place.name)},
        {"latitude", place.observer.latitude},
        {"longitude", place.observer.longitude}};
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const horizon::DayTimes& d : days) {
        nlohmann::ordered_json day = {{"date", isoDateText(civilDate(d.day))},
                                      {"sunrise", clock(d.sunrise)},
                                      {"sunset", clock(d.sunset)},
                                      {"moonrise", clock(d.moonrise)},
                                      {"moonset", clock(d.moonset)},
                                      {"moonAge", std::round(d.moonAge * 10) / 10}};
        if (d.polar != horizon::Polar::None) {
            day["polar"] = d.polar == horizon::Polar::Day ? "day" : "night";
        }
        // A day with two of one event lists them all; the single field keeps the first.
        const std::pair<const char*, const std::vector<int>*> lists[] = {
            {"sunrises", &d.sunrises},
            {"sunsets", &d.sunsets},
            {"moonrises", &d.moonrises},
            {"moonsets", &d.moonsets}};
        for (const auto& [key, minutes] : lists) {
            if (minutes->size() > 1) {
                nlohmann::ordered_json times = nlohmann::ordered_json::array();
                for (const int m : *minutes) {
                    times.push_back(horizon::clockText(m));
                }
                day[key] = std::move(times);
            }
        }
        list.push_back(std::move(day));
    }
    doc["days"] = std::move(list);
    if (!sunNote(year).empty()) {
        doc["uncertaintySeconds"] = std::round(yearUncertainty(year));
    }
    return doc.dump(2) + "\n";
}

} // namespace sorvane::exports
