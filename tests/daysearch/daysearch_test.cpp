// The day search against days built from the notes' and the day listing's own records: each
// query's expected days come from a predicate over those records, not from the matcher.
#include "almanac/coverage.h"
#include "almanac/day_listing.h"
#include "almanac/year_almanac.h"
#include "calendar/civil_date.h"
#include "daysearch/day_facts.h"
#include "daysearch/day_search.h"
#include "daysearch/query.h"
#include "lunisolar/lunisolar_calendar.h"
#include "notes/notes.h"
#include "sky/precise_year.h"
#include "support/test_support.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <utility>

namespace {

using namespace sorvane;
using daysearch::Kind;

// One day as the notes and the day listing give it.
struct Day {
    CivilDate date;
    const notes::DayNotes* notes;
    const almanac::DayEntry* entry;

    bool senjitsu(notes::Senjitsu s) const { return notes->has(s); }
    std::string rokuyo() const {
        return entry->lunar ? lunisolar::rokuyoName(entry->lunar->rokuyo) : "";
    }
    bool holiday() const { return entry->holiday.has_value(); }
    bool weekend() const { return entry->weekday == "土" || entry->weekday == "日"; }
    bool item(const std::string& name) const {
        return std::any_of(entry->items.begin(), entry->items.end(),
                           [&](const almanac::DayItem& i) { return i.name == name; });
    }
};

// The records of the years a test asks for, computed once for the whole suite.
class Records {
  public:
    static Records& get() {
        static Records records;
        return records;
    }
    std::vector<Day> days(const CivilDate& from, const CivilDate& to) {
        std::vector<Day> out;
        for (int y = from.year; y <= to.year; ++y) {
            load(y);
            for (std::size_t i = 0; i < notes_[y].days.size(); ++i) {
                const Day d{notes_[y].days[i].date, &notes_[y].days[i], &entries_[y][i]};
                if (d.date >= from && d.date <= to) {
                    out.push_back(d);
                }
            }
        }
        return out;
    }

  private:
    void load(int y) {
        if (notes_.count(y) == 0) {
            const Tables& t = sorvane::testing::shippedTables();
            notes_[y] = notes::yearNotes(almanac::SunEngines(&t).pageChoice(), y);
            entries_[y] = almanac::dayListing(
                almanac::yearAlmanac(t, static_cast<std::int16_t>(y),
                                     almanac::AlmanacOptions::everything(sky::inRange(y))));
        }
    }
    std::map<int, notes::YearNotes> notes_;
    std::map<int, std::vector<almanac::DayEntry>> entries_;
};

std::vector<CivilDate> expected(const CivilDate& from, const CivilDate& to,
                                const std::function<bool(const Day&)>& holds) {
    std::vector<CivilDate> dates;
    for (const Day& d : Records::get().days(from, to)) {
        if (holds(d)) {
            dates.push_back(d.date);
        }
    }
    return dates;
}

struct Case {
    const char* query;
    CivilDate from;
    CivilDate to;
    std::function<bool(const Day&)> holds;
    // The days on which a kind the query names is not known (the first stretch the search
    // reports); none when the whole range is known.
    std::optional<std::pair<CivilDate, CivilDate>> unknown = std::nullopt;
};

TEST(DaySearch, FindsTheDaysTheRecordsGive) {
    using S = notes::Senjitsu;
    const Case cases[] = {
        {"天赦日 一粒万倍日",
         {2026, 1, 1},
         {2026, 12, 31},
         [](const Day& d) { return d.senjitsu(S::Tensha) && d.senjitsu(S::IchiryuManbai); }},
        {"大安 土|祝日",
         {2025, 11, 1},
         {2026, 2, 28},
         [](const Day& d) {
             return d.rokuyo() == "大安" && (d.entry->weekday == "土" || d.holiday());
         }},
        {"-仏滅 -三隣亡 日",
         {2026, 1, 1},
         {2026, 12, 31},
         [](const Day& d) {
             return d.rokuyo() != "仏滅" && !d.senjitsu(S::Sanrinbo) && d.entry->weekday == "日";
         }},
        {"十二直:危",
         {2026, 1, 1},
         {2026, 3, 31},
         [](const Day& d) { return std::string(notes::chokuName(d.notes->choku)) == "危"; }},
        {"二十八宿:危 -十二直:危",
         {2026, 1, 1},
         {2026, 6, 30},
         [](const Day& d) {
             return std::string(notes::shukuName(d.notes->shuku)) == "危" &&
                    std::string(notes::chokuName(d.notes->choku)) != "危";
         }},
        {"休日 -土 -日",
         {2025, 12, 1},
         {2026, 5, 31},
         [](const Day& d) { return d.holiday() && !d.weekend(); }},
        {"休日",
         {2026, 4, 25},
         {2026, 5, 10},
         [](const Day& d) { return d.holiday() || d.weekend(); }},
        {"建|平 -不成就日 一白水星|九紫火星",
         {2025, 12, 1},
         {2026, 1, 31},
         [](const Day& d) {
             const std::string c = notes::chokuName(d.notes->choku);
             return (c == "建" || c == "平") && !d.senjitsu(S::Fujoju) &&
                    (d.notes->kyusei == 1 || d.notes->kyusei == 9);
         }},
        {"立春|節分|冬至　−大安",
         {2025, 12, 1},
         {2027, 2, 28},
         [](const Day& d) {
             return (d.item("立春") || d.item("節分") || d.item("冬至")) && d.rokuyo() != "大安";
         }},
        {"旧1月 旧1日|旧15日",
         {2025, 1, 1},
         {2027, 12, 31},
         [](const Day& d) {
             return d.entry->lunar && !d.entry->lunar->leap && d.entry->lunar->month == 1 &&
                    (d.entry->lunar->day == 1 || d.entry->lunar->day == 15);
         }},
        {"大安 -不成就日",
         {2100, 11, 1},
         {2101, 2, 28},
         [](const Day& d) { return d.rokuyo() == "大安" && !d.senjitsu(S::Fujoju); },
         std::pair{CivilDate{2101, 1, 1}, CivilDate{2101, 2, 28}}},
        {"不成就日",
         {2100, 12, 1},
         {2101, 1, 31},
         [](const Day& d) { return d.senjitsu(S::Fujoju); },
         std::pair{CivilDate{2101, 1, 1}, CivilDate{2101, 1, 31}}},
        // A Saturday or a Sunday is a 休日 in any year; only a weekday's is unknown outside
        // the holidays' years.
        {"休日",
         {2101, 1, 1},
         {2101, 1, 10},
         [](const Day& d) { return d.weekend(); },
         std::pair{CivilDate{2101, 1, 1}, CivilDate{2101, 1, 10}}},
        {"休日",
         {1948, 7, 10},
         {1948, 7, 25},
         [](const Day& d) { return d.weekend() || d.holiday(); },
         std::pair{CivilDate{1948, 7, 10}, CivilDate{1948, 7, 19}}},
        // Before the holiday law 祝日 is not known, yet 土 still holds on a Saturday.
        {"大安 土|祝日",
         {1947, 6, 1},
         {1948, 12, 31},
         [](const Day& d) {
             return d.rokuyo() == "大安" && (d.entry->weekday == "土" || d.holiday());
         },
         std::pair{CivilDate{1947, 6, 1}, CivilDate{1948, 7, 19}}},
    };
    daysearch::Vocabulary vocabulary;
    daysearch::DaySearch search(sorvane::testing::shippedTables());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        const auto result = search.search(daysearch::parseQuery(c.query, vocabulary), c.from, c.to);
        std::vector<CivilDate> found;
        for (const auto& day : result.days) {
            found.push_back(day.date);
        }
        const std::vector<CivilDate> want = expected(c.from, c.to, c.holds);
        EXPECT_FALSE(want.empty());
        EXPECT_EQ(found, want);
        EXPECT_EQ(result.count, want.size());
        // Where a kind is not known the search says from which day to which.
        if (c.unknown) {
            ASSERT_FALSE(result.uncovered.empty());
            EXPECT_EQ(result.uncovered.front().first, c.unknown->first);
            EXPECT_EQ(result.uncovered.front().last, c.unknown->second);
        } else {
            EXPECT_TRUE(result.uncovered.empty());
        }
    }
}

TEST(DaySearch, RefusesUnknownAndAmbiguousWordsByName) {
    struct Refusal {
        const char* query;
        const char* word;
        std::vector<std::string> forms;
        const char* suggestion = ""; // the known name nearest to an unknown word
    };
    const Refusal refusals[] = {
        {"一粒万培", "一粒万培", {}, "一粒万倍日"},
        {"天赦び", "天赦び", {}, "天赦日"},
        {"寅のひ", "寅のひ", {}, "寅の日"},
        {"大安 十二直危", "十二直危", {}, "十二直:危"},
        {"旧3月31日", "旧3月31日", {}},
        {"大安 危", "危", {"十二直:危", "二十八宿:危"}},
        {"大安|吉日", "吉日", {}},
        {"旧13月", "旧13月", {}},
        {"十二直:角", "十二直:角", {}},
        {"干支:甲子", "干支:甲子", {}},
        {"大安 -", "-", {}},
        {"大安||仏滅", "大安||仏滅", {}},
        {" 　", "", {}},
    };
    daysearch::Vocabulary vocabulary;
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.query);
        try {
            daysearch::parseQuery(r.query, vocabulary);
            ADD_FAILURE() << "accepted";
        } catch (const daysearch::QueryError& e) {
            EXPECT_EQ(e.word(), r.word);
            EXPECT_EQ(e.qualifiedForms(), r.forms);
            EXPECT_NE(std::string(e.what()).find(r.word), std::string::npos);
            EXPECT_EQ(e.suggestion(), r.suggestion);
            if (*r.suggestion != '\0') {
                EXPECT_NE(std::string(e.what()).find(std::string("did you mean ") + r.suggestion),
                          std::string::npos)
                    << e.what();
            }
        }
    }
}

// The nearest-name suggestion for a word far longer than any name: none, and found at once
// (a word of two million characters once took seconds, compared with every name).
TEST(DaySearch, NoSuggestionIsLookedForAWordLongerThanAnyName) {
    const daysearch::Vocabulary vocabulary;
    struct Case {
        std::string word;
        const char* suggestion;
    };
    const Case cases[] = {
        {"一粒万培", "一粒万倍日"},
        {std::string(64, 'x'), ""},
        {std::string(2'000'000, 'x'), ""},
        {"一粒万培" + std::string(2'000'000, 'x'), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word.size());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(vocabulary.nearest(c.word), c.suggestion);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    }
}

// Tabs and line breaks separate words; a name or a word given twice counts once (and the
// word is written again from what it keeps); a long word is cut in the message, never the
// message; a name of two kinds is shown with its kind.
TEST(DaySearch, WordsAreReadOnceAndShownWithTheirKind) {
    daysearch::Vocabulary vocabulary;
    std::string many = "土";
    for (int i = 0; i < 2000; ++i) {
        many += "|土";
    }
    const struct {
        std::string query;
        std::vector<std::string> words; // each word's text as the query keeps it
    } cases[] = {
        {"大安\t土", {"大安", "土"}},
        {"大安\n-仏滅", {"大安", "-仏滅"}},
        {"大安 大安", {"大安"}},
        {"-仏滅 −仏滅 仏滅", {"-仏滅", "仏滅"}},
        {"大安|仏滅 仏滅|大安", {"大安|仏滅"}},
        {"大安|土|大安", {"大安|土"}},
        {many, {"土"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query.substr(0, 40));
        const daysearch::Query query = daysearch::parseQuery(c.query, vocabulary);
        std::vector<std::string> words;
        for (const daysearch::Word& w : query.words) {
            words.push_back(w.text);
            EXPECT_EQ(w.terms.size(), w.written.size());
        }
        EXPECT_EQ(words, c.words);
    }

    std::string longName;
    for (int i = 0; i < 500; ++i) {
        longName += "危";
    }
    try {
        daysearch::parseQuery("十二直:" + longName, vocabulary);
        ADD_FAILURE() << "accepted";
    } catch (const daysearch::QueryError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find(": no 十二直 is named \"危危"), std::string::npos) << message;
        EXPECT_NE(message.find("...\""), std::string::npos) << message;
        EXPECT_LT(message.size(), 400u) << message;
    }

    daysearch::DaySearch search(sorvane::testing::shippedTables());
    const auto result = search.search(daysearch::parseQuery("十二直:危|二十八宿:危", vocabulary),
                                      CivilDate{2026, 1, 1}, CivilDate{2026, 12, 31});
    std::map<std::string, int> shown;
    for (const auto& day : result.days) {
        ASSERT_EQ(day.notes.size(), 1u);
        ++shown[day.notes.front()];
    }
    EXPECT_EQ(shown.count("危"), 0u);
    EXPECT_GT(shown["十二直:危"], 0);
    EXPECT_GT(shown["二十八宿:危"], 0);
}

// Where the calendar has drifted from the seasons a year's 立春 may fall in the year before:
// each one is listed on the day it falls, whichever year's it is, as the almanacs give them.
// The forms the page prints and people type find what the names do: a cell's mark, 土曜 and
// 土曜日, a lunar date as one word, and the full-width '｜', '－', '：' and space of an IME.
TEST(DaySearch, PrintedAndTypedFormsFindWhatTheNamesFind) {
    const struct {
        const char* typed;
        const char* names;
        bool sameNotes; // the listing shows the same names for each day
    } cases[] = {
        {"一粒万倍", "一粒万倍日", true},           {"天赦", "天赦日", true},
        {"不成就 三隣亡", "不成就日 三隣亡", true}, {"寅|巳", "寅の日|巳の日", true},
        {"己巳|甲子", "己巳の日|甲子の日", true},   {"土曜", "土", true},
        {"日曜日 大安", "日 大安", true},           {"旧3月15日", "旧3月 旧15日", false},
        {"旧３月１５日", "旧3月 旧15日", false},    {"旧閏6月1日", "旧閏6月 旧1日", false},
        {"大安｜友引", "大安|友引", true},          {"－仏滅 土", "-仏滅 土", true},
        {"十二直：危", "十二直:危", true},          {"大安　土曜", "大安 土", true},
    };
    daysearch::Vocabulary vocabulary;
    daysearch::DaySearch search(sorvane::testing::shippedTables());
    const CivilDate from{2025, 1, 1};
    const CivilDate to{2026, 12, 31};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto typed = search.search(daysearch::parseQuery(c.typed, vocabulary), from, to);
        const auto names = search.search(daysearch::parseQuery(c.names, vocabulary), from, to);
        ASSERT_GT(names.count, 0u);
        ASSERT_EQ(typed.days.size(), names.days.size());
        for (std::size_t i = 0; i < typed.days.size(); ++i) {
            EXPECT_EQ(typed.days[i].date, names.days[i].date);
            if (c.sameNotes) {
                EXPECT_EQ(typed.days[i].notes, names.days[i].notes);
            } else {
                // The lunar date is one word, shown once.
                EXPECT_EQ(typed.days[i].notes.size(), 1u);
            }
        }
    }
}

// 旧N月30日 is named as absent exactly where no month N of the range reaches its 30th day.
TEST(DaySearch, AbsentLunarDatesAreNamed) {
    daysearch::Vocabulary vocabulary;
    daysearch::DaySearch search(sorvane::testing::shippedTables());
    const CivilDate from{2026, 1, 1};
    const CivilDate to{2026, 12, 31};
    int absentMonths = 0;
    for (int month = 1; month <= 12; ++month) {
        const std::string date = "旧" + std::to_string(month) + "月30日";
        SCOPED_TRACE(date);
        const bool reached = !expected(from, to, [&](const Day& d) {
                                  return d.entry->lunar && !d.entry->lunar->leap &&
                                         d.entry->lunar->month == month &&
                                         d.entry->lunar->day == 30;
                              }).empty();
        const auto absent = daysearch::absentLunarDates(
            search, daysearch::parseQuery("大安 " + date + "|旧1月1日", vocabulary), from, to);
        EXPECT_EQ(absent, reached ? std::vector<std::string>{} : std::vector<std::string>{date});
        absentMonths += reached ? 0 : 1;
    }
    EXPECT_GT(absentMonths, 0);
    EXPECT_LT(absentMonths, 12);
    // Outside the lunisolar calendar's years the date is not known, not absent.
    EXPECT_TRUE(daysearch::absentLunarDates(search, daysearch::parseQuery("旧1月30日", vocabulary),
                                            CivilDate{2150, 1, 1}, CivilDate{2150, 12, 31})
                    .empty());
}

TEST(DaySearch, DriftedEventsAreListedOnTheirDays) {
    const CivilDate from{32690, 1, 1};
    const CivilDate to{32710, 12, 31};
    std::vector<CivilDate> want;
    for (int y = from.year - 1; y <= to.year + 1; ++y) {
        almanac::AlmanacOptions options;
        options.precise = false;
        const auto year = almanac::yearAlmanac(sorvane::testing::shippedTables(),
                                               static_cast<std::int16_t>(y), options);
        for (const almanac::Event& e : year.solarTerms) {
            if (almanac::eventTitle(e) == "立春" && e.date >= from && e.date <= to) {
                want.push_back(e.date);
            }
        }
    }
    std::sort(want.begin(), want.end());
    ASSERT_GE(want.size(), 20u);
    // Some of them fall outside their own year.
    EXPECT_TRUE(
        std::any_of(want.begin(), want.end(), [](const CivilDate& d) { return d.month == 12; }));

    daysearch::DaySearch search(sorvane::testing::shippedTables());
    const auto result =
        search.search(daysearch::parseQuery("立春", daysearch::Vocabulary()), from, to);
    std::vector<CivilDate> found;
    for (const auto& day : result.days) {
        found.push_back(day.date);
    }
    EXPECT_EQ(found, want);
}

// The notes of a day are unknown where they are not computed (outside their years) or where
// the Sun's search finds no usable date (term tables that make the Sun leave the numbers);
// any other error is no answer of that kind and reaches the caller.
TEST(DaySearch, OnlyTheCalculationsOwnFailureLeavesTheNotesUnknown) {
    const unsigned notesKinds = 1U << static_cast<int>(daysearch::Kind::Senjitsu);
    const auto knowsNotes = [&](const Tables& tables, int year) {
        const auto days =
            daysearch::yearFacts(almanac::Days(tables, almanac::Minutes::Observatory),
                                 CivilDate{year, 6, 1}, CivilDate{year, 6, 7}, notesKinds);
        return days.front().knows(daysearch::Kind::Senjitsu);
    };
    const Tables& shipped = sorvane::testing::shippedTables();
    EXPECT_TRUE(knowsNotes(shipped, 5000)); // the solar theory's year
    EXPECT_FALSE(knowsNotes(shipped, notes::kLastYear + 1));
    EXPECT_FALSE(knowsNotes(shipped, notes::kFirstYear - 1));

    // A term whose amplitude leaves the numbers: the search reports no usable moment.
    Tables racing = shipped;
    racing.planetTerms[1].longitudeAmplitude = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(knowsNotes(racing, 5000));

    // A hand-built term of no planet (the loader refuses one) is a fault of the caller, not a
    // day whose notes cannot be computed: it is not reported as "not known".
    Tables noPlanet = shipped;
    noPlanet.planetTerms[1].planetCode = 9;
    EXPECT_THROW(knowsNotes(noPlanet, 5000), std::out_of_range);
}

} // namespace
