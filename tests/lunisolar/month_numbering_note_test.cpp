// Which days and months carry the note on the months of 2033-2034 that the rules do not
// number, against the published dates of those months:
//   旧暦2033年問題 (Wikipedia, as copied at https://www.weblio.jp/content/%E8%A9%B3%E8%A7%A3,
//   read 2026-12-09): the seven months without a name by the rules run from the new moon
//   of 2033-08-25 to the day before that of 2034-03-20 (B月 .. H月);
//   http://astis.html.xdomain.jp/column_problem.html (read 2026-12-09): D月 2033/08/25 ..
//   J月 2034/03/19, H月 (the recommended 閏11月) 2033/12/22 .. 2034/01/19.
// and the months this program computes there are those of the recommended numbering
// (7月→8月→9月→10月→11月→閏11月→12月→正月, https://wiki.suikawiki.org/n/閏11月案,
// read 2026-12-09).
#include "calendar/civil_date.h"
#include "lunisolar/lunisolar_year.h"
#include "lunisolar/month_numbering_note.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using sorvane::CivilDate;
using namespace sorvane::lunisolar;

TEST(MonthNumberingNote, DaysAndMonthsOfTheStretch) {
    struct Case {
        CivilDate date;
        bool noted;
    };
    const Case days[] = {
        {{2033, 8, 24}, false}, // the last day of 7月, numbered by the rules
        {{2033, 8, 25}, true},  // the first new moon of the stretch
        {{2033, 12, 22}, true}, // 閏11月1日
        {{2034, 1, 19}, true},  // its last day
        {{2034, 2, 19}, true},  // 1月1日 here, 閏1月1日 in the other choice
        {{2034, 3, 19}, true},  // the stretch's last day
        {{2034, 3, 20}, false}, // 2月1日: the 春分 month, numbered by the rules
        {{2014, 11, 1}, false}, // another leap month (閏9月 2014) carries no note
        {{2052, 12, 1}, false},
    };
    for (const Case& c : days) {
        SCOPED_TRACE(std::to_string(c.date.year) + "-" + std::to_string(c.date.month) + "-" +
                     std::to_string(c.date.day));
        EXPECT_EQ(monthNumberChosen(c.date), c.noted);
        EXPECT_EQ(monthNumberingNote(c.date).empty(), !c.noted);
    }
    struct MonthCase {
        int year;
        int month;
        bool noted;
    };
    const MonthCase months[] = {{2033, 7, false},  {2033, 8, true}, {2033, 12, true},
                                {2034, 1, true},   {2034, 3, true}, {2034, 4, false},
                                {2032, 12, false}, {2035, 1, false}};
    for (const MonthCase& c : months) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
        EXPECT_EQ(monthNumberChosen(c.year, c.month), c.noted);
        EXPECT_EQ(monthNumberingNote(c.year, c.month).empty(), !c.noted);
    }
    // The note and the guide name the choice and the alternatives.
    const std::string note = monthNumberingNote(CivilDate{2033, 12, 22});
    for (const char* word : {"閏11月", "閏7月", "閏1月", "日本カレンダー暦文化振興協会"}) {
        EXPECT_NE(note.find(word), std::string::npos) << word;
        EXPECT_NE(monthNumberingGuide().find(word), std::string::npos) << word;
    }
}

// The stretch begins and ends on the computed months' first days, and its months are
// numbered as the recommendation does.
TEST(MonthNumberingNote, StretchIsTheComputedMonths) {
    const LunisolarYear y2033(2033, Quarters::Left);
    const LunisolarYear y2034(2034, Quarters::Left, &y2033);
    const auto at = [&](const CivilDate& d) {
        const long long n = sorvane::dayNumber(d);
        return d.year == 2033 ? y2033.day(n) : y2034.day(n);
    };
    const auto text = [&](const CivilDate& d) { return lunarDateText(at(d)); };
    EXPECT_EQ(text(kChosenNumberingFirst), "8月1日");
    EXPECT_EQ(text(sorvane::addDays(kChosenNumberingFirst, -1)), "7月30日");
    EXPECT_EQ(text(CivilDate{2033, 12, 22}), "閏11月1日");
    EXPECT_EQ(text(CivilDate{2034, 1, 20}), "12月1日");
    EXPECT_EQ(text(CivilDate{2034, 2, 19}), "1月1日");
    EXPECT_EQ(text(kChosenNumberingLast), "1月29日");
    EXPECT_EQ(text(sorvane::addDays(kChosenNumberingLast, 1)), "2月1日");
}

} // namespace
