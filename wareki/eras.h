// The era years (元号, and the counts of reign years before and between them) of every day
// from the first count (景行天皇, 71) on, with the 南朝 and the 北朝 side by side in
// 1331-1392; 明治6年 and later from the eras of calendar/japanese_era.h.
#pragma once

#include "wareki/table.h"

#include <optional>
#include <string>
#include <vector>

namespace sorvane::wareki {

// The two lines of 南北朝. Outside 1331-1392 they have the same eras.
enum class Line { South, North };
const char* lineName(Line line); // "南朝", "北朝"

struct EraDay {
    std::string era;          // "元禄"
    std::string reading;      // "げんろく" (empty for the eras of calendar/)
    int year = 0;             // 1 for 元年
    std::optional<Line> line; // set when the two lines differ on the day
    bool operator==(const EraDay&) const = default;
};

// The era years of a day (a Julian Day Number): none before 景行天皇 (or for a day with no
// lunisolar date before 1873), one, or two (南朝 first) where the lines differ.
std::vector<EraDay> eraDaysOf(long long jdn);

// "元禄15年", "元禄元年", "南朝 延元3年".
std::string eraYearText(const EraDay& day);

// Whether a row belongs to a line ("both" rows belong to both).
bool onLine(const EraRow& row, Line line);
// The row in force on a line on a day of the table (the last one that started on or
// before it), or nullptr before the first.
const EraRow* eraRowOn(Line line, long long jdn);
// The row whose era ends the era of row on its line: the next row of the line, or nullptr
// for 明治.
const EraRow* nextOnLine(const EraRow& row, Line line);

} // namespace sorvane::wareki
