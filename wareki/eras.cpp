#include "wareki/eras.h"

#include "calendar/japanese_era.h"
#include "wareki/historical_calendar.h"
#include "wareki/western.h"

#include <cstring>
#include <utility>

namespace sorvane::wareki {

namespace {

// The readings of the eras from 1873 (明治's is the table's).
std::string laterReading(const std::string& era) {
    static const std::pair<const char*, const char*> kReadings[] = {
        {"大正", "たいしょう"}, {"昭和", "しょうわ"}, {"平成", "へいせい"}, {"令和", "れいわ"}};
    for (const auto& [name, reading] : kReadings) {
        if (era == name) {
            return reading;
        }
    }
    const EraRow* meiji = eraRowOn(Line::North, kLastTableJdn);
    return era == meiji->name ? meiji->reading : "";
}

} // namespace

const char* lineName(Line line) {
    return line == Line::South ? "南朝" : "北朝";
}

bool onLine(const EraRow& row, Line line) {
    return std::strcmp(row.line, "both") == 0 || std::strcmp(row.line, lineName(line)) == 0;
}

const EraRow* eraRowOn(Line line, long long jdn) {
    const EraRow* found = nullptr;
    for (const EraRow& row : eraRows()) {
        if (row.startJdn > jdn) {
            break;
        }
        if (onLine(row, line)) {
            found = &row;
        }
    }
    return found;
}

const EraRow* nextOnLine(const EraRow& row, Line line) {
    const auto rows = eraRows();
    for (const EraRow* r = &row + 1; r != rows.data() + rows.size(); ++r) {
        if (onLine(*r, line)) {
            return r;
        }
    }
    return nullptr;
}

std::vector<EraDay> eraDaysOf(long long jdn) {
    if (jdn > kLastTableJdn) {
        const WesternDate g = westernDate(Western::Gregorian, jdn);
        if (const auto era = eraYearOf(g.year, g.month, g.day)) {
            return {EraDay{era->era, laterReading(era->era), era->year, std::nullopt}};
        }
        return {};
    }
    const auto date = lunisolarDateOf(jdn);
    const EraRow* south = eraRowOn(Line::South, jdn);
    const EraRow* north = eraRowOn(Line::North, jdn);
    if (!date || !south || !north) {
        return {};
    }
    const auto day = [&](const EraRow& row, std::optional<Line> line) {
        return EraDay{row.name, row.reading, date->year - row.firstYear + 1, line};
    };
    // From 明徳3年 on the south's 明徳 is the north's, taken up again.
    if (std::strcmp(south->name, north->name) == 0 && south->firstYear == north->firstYear) {
        return {day(*south, std::nullopt)};
    }
    return {day(*south, Line::South), day(*north, Line::North)};
}

std::string eraYearText(const EraDay& day) {
    return (day.line ? std::string(lineName(*day.line)) + " " : std::string()) + day.era +
           (day.year == 1 ? std::string("元") : std::to_string(day.year)) + "年";
}

} // namespace sorvane::wareki
