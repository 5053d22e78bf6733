// The one stretch since 1844 where the rules of the lunisolar calendar do not number the
// months: 2033-08-25 .. 2034-03-19 (seven months between the new moons of 2033-08-25 and
// 2034-03-20). This program numbers them as the calendar makers' association recommends
// (a 閏11月 from 2033-12-22); the notes say so wherever a user reads those months.
#pragma once

#include "calendar/civil_date.h"

#include <string>

namespace sorvane::lunisolar {

// The first and last day whose month number is a choice and not the rules' result.
inline constexpr CivilDate kChosenNumberingFirst{2033, 8, 25};
inline constexpr CivilDate kChosenNumberingLast{2034, 3, 19};

// Whether the day's lunisolar month number is the chosen one.
bool monthNumberChosen(const CivilDate& date);
// Whether any day of year-month is (2033-08 .. 2034-03).
bool monthNumberChosen(int year, int month);

// The note for such a day or month (one line, Japanese), empty elsewhere.
std::string monthNumberingNote(const CivilDate& date);
std::string monthNumberingNote(int year, int month);

// The guide's paragraph: what is chosen and the alternatives.
std::string monthNumberingGuide();

} // namespace sorvane::lunisolar
