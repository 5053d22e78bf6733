#include "horizon/day_text.h"

#include "calendar/civil_date.h"

#include <cmath>
#include <cstdio>

namespace sorvane::horizon {

namespace {

std::string degreesText(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f°", std::fabs(value));
    return buffer;
}

std::string eventText(const char* name, std::optional<int> minute, const std::vector<int>& all) {
    return std::string(name) + " " +
           (minute ? clockTimesText(minute, all, "・") : std::string("なし"));
}

} // namespace

std::string clockText(std::optional<int> minuteOfDay) {
    if (!minuteOfDay) {
        return "--:--";
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", *minuteOfDay / 60, *minuteOfDay % 60);
    return buffer;
}

std::string clockTimesText(std::optional<int> first, const std::vector<int>& all,
                           const char* separator) {
    if (all.size() < 2) {
        return clockText(first);
    }
    std::string out;
    for (const int minute : all) {
        out += (out.empty() ? "" : separator) + clockText(minute);
    }
    return out;
}

std::string moonAgeText(double age) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", age);
    return buffer;
}

std::string dayLine(const DayTimes& day) {
    const bool up = day.polar == Polar::Day;
    return isoDateText(civilDate(day.day)) + "  " +
           (up ? kPolarDayMark : clockTimesText(day.sunrise, day.sunrises, ",")) + "  " +
           (up ? kPolarDayMark : clockTimesText(day.sunset, day.sunsets, ",")) + "  " +
           clockTimesText(day.moonrise, day.moonrises, ",") + "  " +
           clockTimesText(day.moonset, day.moonsets, ",") + "  " + moonAgeText(day.moonAge);
}

std::string dayDetailsText(const DayTimes& day) {
    const char* polar = day.polar == Polar::Day     ? "（白夜）"
                        : day.polar == Polar::Night ? "（極夜）"
                                                    : "";
    return eventText("日の出", day.sunrise, day.sunrises) + "　" +
           eventText("日の入", day.sunset, day.sunsets) + polar + "\n" +
           eventText("月の出", day.moonrise, day.moonrises) + "　" +
           eventText("月の入", day.moonset, day.moonsets) + "\n" + "正午月齢 " +
           moonAgeText(day.moonAge) + "\n";
}

std::string coordinatesText(const Observer& o) {
    return std::string(o.latitude < 0 ? "南緯" : "北緯") + degreesText(o.latitude) + " " +
           (o.longitude < 0 ? "西経" : "東経") + degreesText(o.longitude);
}

std::string placeCaption(const std::string& name, const Observer& observer) {
    return "日の出入り・月の出入り：" + (name.empty() ? coordinatesText(observer) : name);
}

} // namespace sorvane::horizon
