// The 暦注 of a year's days as text lines and as a JSON document.
#pragma once

#include "notes/notes.h"

#include <string>

namespace sorvane::exports {

// One tab-separated line per day: ISO date, weekday (日..土), the 節月's 干支, the day's 干支,
// 十二直, 二十八宿, 日家九星, the 選日 joined by "、", the noon moon age (one decimal), then
// the 七十二候 beginning that day and the 年中行事 joined by "、". An empty field is "-".
std::string notesReport(const notes::YearNotes& notes);

// One JSON document: "year", "yearKyusei" and "eho" (of the 節 year that begins at the
// year's 立春), and "days", each with exactly date, monthSexagenary, daySexagenary, choku,
// shuku, kyusei, monthKyusei, senjitsu (array of names), moonAge (number or null), kou (its
// name on its first day, else null) and festivals (array).
std::string notesJson(const notes::YearNotes& notes);

} // namespace sorvane::exports
