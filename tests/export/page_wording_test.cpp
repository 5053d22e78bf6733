// The page's documents write years, dates and the 2033 months as a printed 暦 does: 紀元前
// for astronomical years 0 and below ("the year 1 BC is numbered 0 ... the year n BC is
// numbered -(n-1)", http://www.fact-index.com/a/as/astronomical_year_numbering.html, read
// 2026-12-09), no era year where the era list has run out, dates as 「1月17日」, and the note
// on the months 2033-08-25 .. 2034-03-19 that the rules do not number (旧暦2033年問題,
// https://www.weblio.jp/content/%E8%A9%B3%E8%A7%A3, read 2026-12-09).
#include "daysearch/day_search.h"
#include "export/page_document.h"
#include "horizon/places.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>

namespace sorvane::exports {
namespace {

using nlohmann::json;

TEST(PageWording, YearsErasAndTheChosenMonths) {
    almanac::CalendarYears years(testing::shippedTables());
    struct Case {
        int year, month;
        const char* yearText;
        const char* era; // "" for none
        bool lunarNote;
    };
    const Case months[] = {
        {0, 1, "紀元前1", "", false},         {-500, 3, "紀元前501", "", false},
        {-1999, 1, "紀元前2000", "", false},  {2026, 1, "2026", "令和8年", false},
        {9000, 1, "9000", "", false},         {2033, 7, "2033", "令和15年", false},
        {2033, 8, "2033", "令和15年", true},  {2034, 3, "2034", "令和16年", true},
        {2034, 4, "2034", "令和16年", false},
    };
    for (const Case& c : months) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
        const json doc = json::parse(monthPageJson(years, c.year, c.month));
        EXPECT_EQ(doc["yearText"], c.yearText);
        EXPECT_EQ(doc["era"], c.era);
        EXPECT_EQ(!doc["lunarNote"].get<std::string>().empty(), c.lunarNote);
    }
    const horizon::NamedPlace place = horizon::tokyo();
    struct DayCase {
        CivilDate date;
        const char* firstLine;
        bool era;
        bool lunarNote;
    };
    const DayCase days[] = {
        {{-500, 3, 1}, "紀元前501年3月1日", false, false},
        {{9000, 1, 1}, "9000年1月1日", false, false},
        {{2033, 12, 22}, "2033年12月22日", true, true},
        {{2034, 3, 20}, "2034年3月20日", true, false},
    };
    for (const DayCase& c : days) {
        SCOPED_TRACE(c.firstLine);
        const json doc = json::parse(dayPageJson(years, c.date, place));
        const std::string first = doc["details"][0];
        EXPECT_EQ(first.rfind(c.firstLine, 0), 0u) << first;
        EXPECT_EQ(doc["details"][1].get<std::string>().rfind("令和", 0) == 0, c.era);
        EXPECT_EQ(!doc["lunarNote"].get<std::string>().empty(), c.lunarNote);
    }
}

TEST(PageWording, DatesInListsAsJapaneseDates) {
    daysearch::DaySearch search(testing::shippedTables());
    const daysearch::Vocabulary vocabulary;
    const json found =
        json::parse(findPageJson(search, vocabulary, "日", "2026-01-01", "2026-01-31"));
    ASSERT_EQ(found["count"], 4); // 4, 11, 18 and 25 January 2026
    EXPECT_EQ(found["days"][0]["date"], "2026-01-04");
    EXPECT_EQ(found["days"][0]["dateText"], "2026年1月4日");
    const json year = json::parse(yearPageJson(testing::shippedTables(), 2026));
    ASSERT_FALSE(year["holidays"].empty());
    EXPECT_EQ(year["holidays"][0]["date"], "2026-01-01");
    EXPECT_EQ(year["holidays"][0]["dateText"], "1月1日");
    EXPECT_EQ(year["holidays"][1]["dateText"], "1月12日"); // 成人の日, second Monday
    EXPECT_EQ(json::parse(yearPageJson(testing::shippedTables(), -500))["heading"]
                  .get<std::string>()
                  .rfind("紀元前501年", 0),
              0u);
}

} // namespace
} // namespace sorvane::exports
