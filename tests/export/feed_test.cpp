// The subscription feeds read back with libical: their calendar properties, UIDs that do not
// depend on the years asked for, stamps that never go back, and the 選日 against the
// calendar makers' published list.
#include "calendar/day_cycles.h"
#include "export/feed.h"
#include "holidays/holidays.h"
#include "notes/notes.h"
#include "sky/precise_year.h"
#include "support/ics_reading.h"
#include "support/test_support.h"
#include "tools/tsv_rows.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <libical/ical.h>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace sorvane::exports {
namespace {

using testing::Component;
using testing::parse;

// The days over the shipped term files.
const almanac::Days& shippedDays() {
    static const almanac::Days days(testing::shippedTables(), almanac::Minutes::Observatory);
    return days;
}

// Days that cannot read the term files: a feed that needs them fails.
almanac::Days withoutTermFiles() {
    return almanac::Days([]() -> Tables { throw std::runtime_error("no term files here"); },
                         almanac::Minutes::Observatory);
}

std::string feed(FeedKind kind, int first, int last) {
    return feedCalendar(kind, first, last, shippedDays());
}

std::string xProperty(icalcomponent* calendar, const std::string& name) {
    for (icalproperty* p = icalcomponent_get_first_property(calendar, ICAL_X_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(calendar, ICAL_X_PROPERTY)) {
        if (name == icalproperty_get_x_name(p)) {
            return icalproperty_get_x(p);
        }
    }
    return "";
}

// The JST date of an event's start: the date itself, or the UTC instant moved by 9 hours.
CivilDate jstStart(icaltimetype t) {
    if (!t.is_date) {
        icaltime_adjust(&t, 0, 9, 0, 0);
    }
    return CivilDate{t.year, t.month, t.day};
}

// Each kind of 2026: a calendar libical reads without error, with the properties a
// subscription needs, events of the kind's shape and UIDs of kind, event and JST date.
TEST(Feed, EveryKindIsACalendarOfItsShape) {
    struct Case {
        FeedKind kind;
        bool instants;     // the kind has instants (the others are whole days only)
        std::size_t count; // events of 2026, 0: not checked here
    };
    const Case cases[] = {
        {FeedKind::Rokuyo, false, 365},
        {FeedKind::Senjitsu, false, 0},
        {FeedKind::Sekki, true, 24},
        {FeedKind::Holidays, false, 0},
        {FeedKind::Moon, true, 0},
        {FeedKind::Zassetsu, false, 0},
        {FeedKind::SenjitsuPeriods, false, 0},
    };
    for (const Case& c : cases) {
        const std::string key = feedKindKey(c.kind);
        SCOPED_TRACE(key);
        const Component calendar = parse(feed(c.kind, 2026, 2026));
        ASSERT_NE(calendar.get(), nullptr);
        EXPECT_EQ(icalcomponent_count_errors(calendar.get()), 0);
        icalproperty* name = icalcomponent_get_first_property(calendar.get(), ICAL_NAME_PROPERTY);
        ASSERT_NE(name, nullptr);
        EXPECT_STREQ(icalproperty_get_name(name), feedName(c.kind));
        EXPECT_EQ(xProperty(calendar.get(), "X-WR-CALNAME"), feedName(c.kind));
        EXPECT_NE(xProperty(calendar.get(), "X-WR-CALDESC").find("2026年"), std::string::npos);
        EXPECT_EQ(xProperty(calendar.get(), "X-WR-TIMEZONE"), "Asia/Tokyo");
        EXPECT_EQ(xProperty(calendar.get(), "X-PUBLISHED-TTL"), "P1W");
        icalproperty* refresh =
            icalcomponent_get_first_property(calendar.get(), ICAL_REFRESHINTERVAL_PROPERTY);
        ASSERT_NE(refresh, nullptr);
        EXPECT_EQ(icaldurationtype_as_int(icalproperty_get_refreshinterval(refresh)), 7 * 86400);

        const auto events = testing::eventsByUid(calendar.get());
        if (c.count != 0) {
            EXPECT_EQ(events.size(), c.count);
        }
        bool sawInstant = false;
        for (const auto& [uid, e] : events) {
            SCOPED_TRACE(uid);
            // The periods keep the 選日's UIDs ("senjitsu-hassen-…").
            EXPECT_EQ(uid.rfind(c.kind == FeedKind::SenjitsuPeriods ? "senjitsu-" : key + "-", 0),
                      0u);
            EXPECT_EQ(uid.substr(uid.size() - 18), isoDateText(jstStart(e.start)) + "@sorvane");
            EXPECT_EQ(e.stampCount, 1);
            if (e.start.is_date) {
                ASSERT_TRUE(e.hasEnd);
                EXPECT_TRUE(e.end.is_date);
                EXPECT_GT(icaltime_compare(e.end, e.start), 0);
            } else {
                EXPECT_TRUE(icaltime_is_utc(e.start));
                EXPECT_FALSE(e.hasEnd);
                sawInstant = true;
            }
        }
        EXPECT_EQ(sawInstant, c.instants);
        if (c.kind == FeedKind::Holidays) {
            // The national holidays and nothing else (no 節分, no observance).
            std::multiset<std::string> names;
            std::multiset<std::string> law;
            for (const auto& [uid, e] : events) {
                names.insert(e.summary);
            }
            for (const holidays::Holiday& h : holidays::yearHolidays(2026, sky::PreciseMoments{})) {
                law.insert(h.name);
            }
            EXPECT_EQ(names, law);
        }
    }
}

// The VEVENT blocks of a calendar's text, by UID.
std::map<std::string, std::string> blocks(const std::string& text) {
    std::map<std::string, std::string> out;
    for (std::size_t at = text.find("BEGIN:VEVENT"); at != std::string::npos;
         at = text.find("BEGIN:VEVENT", at + 1)) {
        const std::string block = text.substr(at, text.find("END:VEVENT", at) - at);
        const std::size_t uid = block.find("\r\nUID:") + 6;
        out[block.substr(uid, block.find("\r\n", uid) - uid)] = block;
    }
    return out;
}

// An event is written the same, UID and DTSTAMP included, whatever years are asked for, so a
// feed regenerated for a moved window updates what a client holds; a period of 選日 that
// crosses the new year is given whole in both.
TEST(Feed, AnEventIsTheSameWhateverTheYears) {
    for (const FeedKind kind : kFeedKinds) {
        SCOPED_TRACE(feedKindKey(kind));
        const auto narrow = blocks(feed(kind, 2026, 2026));
        const auto wide = blocks(feed(kind, 2025, 2027));
        ASSERT_FALSE(narrow.empty());
        for (const auto& [uid, block] : narrow) {
            ASSERT_EQ(wide.count(uid), 1u) << uid;
            EXPECT_EQ(wide.at(uid), block);
        }
        for (const auto& [uid, block] : wide) {
            if (uid.find("-2026-") != std::string::npos) {
                EXPECT_EQ(narrow.count(uid), 1u) << uid;
            }
        }
    }
}

// A feed written as it is made gives the bytes of the whole feed made at once (icsFeed of
// every event, sorted), in pieces of about a year each: a year at the start and end of each
// kind's span, and runs that cross the years where a lunisolar year begins in the Gregorian
// year before.
TEST(Feed, WrittenAsItIsMadeItIsTheWholeFeed) {
    for (const FeedKind kind : kFeedKinds) {
        SCOPED_TRACE(feedKindKey(kind));
        const almanac::YearSpan span = feedYears(kind);
        const int mid = std::clamp(2026, span.first, span.last - 4);
        for (const auto& [first, last] : std::vector<std::pair<int, int>>{
                 {span.first, span.first + 2}, {mid, mid + 4}, {span.last - 1, span.last}}) {
            SCOPED_TRACE(std::to_string(first) + ".." + std::to_string(last));
            std::vector<std::string> pieces;
            writeFeed(kind, first, last, shippedDays(),
                      [&](std::string_view piece) { pieces.emplace_back(piece); });
            std::string joined;
            std::size_t largest = 0;
            for (const std::string& piece : pieces) {
                joined += piece;
                largest = std::max(largest, piece.size());
            }
            const std::string whole = icsFeed(feedHeader(kind, first, last),
                                              feedEvents(kind, first, last, shippedDays()));
            ASSERT_EQ(joined, whole);
            if (kind != FeedKind::SenjitsuPeriods) {
                // The header, a piece a year (and what the last year left), the footer.
                EXPECT_EQ(pieces.size(), static_cast<std::size_t>(last - first + 4));
                EXPECT_LT(largest, whole.size() * 2 / (last - first + 1));
            }
        }
    }
}

std::set<std::string> datesOf(const std::vector<FeedEvent>& events, const std::string& summary) {
    std::set<std::string> out;
    for (const FeedEvent& e : events) {
        if (e.summary == summary) {
            out.insert(isoDateText(e.date));
        }
    }
    return out;
}

// The 一粒万倍日 and 天赦日 of the 2026 feed are the calendar maker's published lists.
TEST(Feed, SenjitsuOf2026AreThePublishedLists) {
    std::ifstream in(SORVANE_SOURCE_DIR "/tests/notes/published-senjitsu.tsv");
    ASSERT_TRUE(in) << "published lists missing";
    std::map<std::string, std::set<std::string>> listed;
    for (const tsv::Row& row : tsv::dataRows(in)) {
        const std::string name = row.text.substr(0, row.text.find('\t'));
        const std::string date = row.text.substr(row.text.find('\t') + 1);
        if (date.rfind("2026-", 0) == 0) {
            listed[name].insert(date);
        }
    }
    const auto events = feedEvents(FeedKind::Senjitsu, 2026, 2026, shippedDays());
    for (const char* name : {"一粒万倍日", "天赦日"}) {
        ASSERT_FALSE(listed[name].empty()) << name;
        EXPECT_EQ(datesOf(events, name), listed[name]) << name;
    }
}

// The 選日 feed holds days, no period (those have a feed of their own), and a 己巳の日,
// which is always a 巳の日, once: 「巳の日・己巳の日」 on every day whose 干支 is 己巳 (the sixth
// of the sixty) and on no other.
TEST(Feed, TheSenjitsuOfOneDayAreOneEventADay) {
    const auto events = feedEvents(FeedKind::Senjitsu, 2026, 2026, shippedDays());
    std::set<std::string> merged;
    for (const FeedEvent& e : events) {
        SCOPED_TRACE(e.uid);
        EXPECT_EQ(e.lastDate, e.date);
        for (const char* period : {"八専", "十方暮", "天一天上"}) {
            EXPECT_NE(e.summary, period);
        }
        EXPECT_NE(e.summary, "己巳の日");
        if (e.summary == "巳の日・己巳の日") {
            merged.insert(isoDateText(e.date));
            EXPECT_NE(e.category.find("己巳の日"), std::string::npos);
        }
    }
    std::set<std::string> tsuchinotomi;
    for (long long n = dayNumber({2026, 1, 1}); n <= dayNumber({2026, 12, 31}); ++n) {
        if (notes::sexagenaryName(kanshi(static_cast<double>(n)) - 1) == "己巳") {
            tsuchinotomi.insert(isoDateText(civilDate(n)));
        }
    }
    EXPECT_EQ(tsuchinotomi.size(), 6u);
    EXPECT_EQ(merged, tsuchinotomi);
}

// The periods are whole: 八専 the twelve days 壬子..癸亥 with its four 間日 named, 十方暮
// the ten days 甲申..癸巳, 天一天上 the sixteen days 癸巳..戊申.
TEST(Feed, SenjitsuPeriodsSpanTheirSexagenaryDays) {
    struct Case {
        const char* name;
        const char* firstDay; // the 干支 of the first day
        long long days;
        int restDays; // 間日 named in the description
    };
    const Case cases[] = {
        {"八専", "壬子", 12, 4}, {"十方暮", "甲申", 10, 0}, {"天一天上", "癸巳", 16, 0}};
    const auto events = feedEvents(FeedKind::SenjitsuPeriods, 2026, 2026, shippedDays());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int periods = 0;
        for (const FeedEvent& e : events) {
            if (e.summary != c.name) {
                continue;
            }
            ++periods;
            const long long first = dayNumber(e.date);
            EXPECT_EQ(notes::sexagenaryName(kanshi(static_cast<double>(first)) - 1), c.firstDay)
                << isoDateText(e.date);
            EXPECT_EQ(dayNumber(e.lastDate) - first + 1, c.days) << isoDateText(e.date);
            // "..（2月7日〜2月18日。間日 2月8日、2月11日、2月13日、2月17日）"
            int rest = 0;
            if (const std::size_t list = e.description.find("。間日 "); list != std::string::npos) {
                for (std::size_t at = list; at != std::string::npos;
                     at = e.description.find("、", at + 1)) {
                    ++rest;
                }
            }
            EXPECT_EQ(rest, c.restDays) << e.description;
        }
        EXPECT_GE(periods, 6); // one each 60 days, the year's ends included
    }
}

// Each phase kind's UID names its own phase: the moments of January 2026 in the observatory's
// almanac (国立天文台 暦要項 2026, 朔弦望: 望 3日 19:03, 下弦 11日 0:48, 朔 19日 4:52, 上弦
// 26日 13:47 JST), and every phase of 2026 under the key of its name.
TEST(Feed, EachPhaseKindHasItsOwnUid) {
    struct Case {
        const char* uid;
        const char* summary;
        int hour; // JST
        int minute;
    };
    const Case cases[] = {
        {"moon-full-2026-01-03", "望", 19, 3},
        {"moon-last-quarter-2026-01-11", "下弦", 0, 48},
        {"moon-new-2026-01-19", "朔", 4, 52},
        {"moon-first-quarter-2026-01-26", "上弦", 13, 47},
    };
    const std::map<std::string, std::string> keyOf = {
        {"朔", "moon-new-"},        {"上弦", "moon-first-quarter-"},
        {"望", "moon-full-"},       {"下弦", "moon-last-quarter-"},
        {"十五夜", "moon-jugoya-"}, {"十三夜", "moon-jusanya-"}};
    const std::vector<FeedEvent> events =
        feedEvents(FeedKind::Moon, 2026, 2026, withoutTermFiles());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uid);
        const auto e = std::find_if(events.begin(), events.end(),
                                    [&](const FeedEvent& x) { return x.uid == c.uid; });
        ASSERT_NE(e, events.end());
        EXPECT_EQ(e->summary, c.summary);
        EXPECT_TRUE(e->instant);
        EXPECT_EQ(e->hour, c.hour);
        EXPECT_EQ(e->minute, c.minute);
    }
    std::map<std::string, int> perKind;
    for (const FeedEvent& e : events) {
        SCOPED_TRACE(e.uid);
        if (e.category == "日食・月食") {
            // The eclipses, checked against swetest's list in tests/eclipse.
            const bool solar = e.summary.find("日食") != std::string::npos;
            EXPECT_EQ(e.uid, std::string("moon-eclipse-") + (solar ? "solar-" : "lunar-") +
                                 isoDateText(e.date));
            continue;
        }
        ASSERT_EQ(keyOf.count(e.summary), 1u);
        EXPECT_EQ(e.uid, keyOf.at(e.summary) + isoDateText(e.date));
        ++perKind[e.summary];
    }
    for (const char* phase : {"朔", "上弦", "望", "下弦"}) {
        EXPECT_GE(perKind[phase], 12) << phase;
    }
}

// Which feeds read the term files: the 選日 always, the 節気 and 雑節 once any year lies past
// the precise mode's -1999..3000 (the solar theory's years), no other kind. The days are asked
// to read them through a loader that counts its calls.
TEST(Feed, TheTermFilesAreReadWhereTheSolarTheoryIsUsed) {
    const std::tuple<FeedKind, int, int, bool> cases[] = {
        {FeedKind::Senjitsu, 2026, 2026, true}, {FeedKind::Sekki, 2026, 2027, false},
        {FeedKind::Sekki, 1, 2, false},         {FeedKind::Sekki, 3000, 3001, true},
        {FeedKind::Sekki, 3001, 3001, true},    {FeedKind::Zassetsu, 2999, 3000, false},
        {FeedKind::Zassetsu, 3001, 3002, true}, {FeedKind::Zassetsu, 8455, 8455, true},
        {FeedKind::Rokuyo, 1900, 1901, false},  {FeedKind::Holidays, 2099, 2100, false},
        {FeedKind::Moon, 2100, 2100, false},
    };
    for (const auto& [kind, first, last, needs] : cases) {
        SCOPED_TRACE(std::string(feedKindKey(kind)) + " " + std::to_string(first) + ".." +
                     std::to_string(last));
        int reads = 0;
        const almanac::Days days(
            [&reads] {
                ++reads;
                return testing::shippedTables();
            },
            almanac::Minutes::Theory);
        EXPECT_FALSE(feedEvents(kind, first, last, days).empty());
        EXPECT_EQ(reads, needs ? 1 : 0);
    }
    // The theory's years from the term files: 3001's 立春 on 3001-02-04, by the theory.
    const auto events = feedEvents(FeedKind::Sekki, 3001, 3001, shippedDays());
    ASSERT_EQ(events.size(), 24u);
    EXPECT_NE(events.front().description.find("ニューカムの太陽理論"), std::string::npos);
}

// The DTSTAMP lines of a calendar's text.
std::vector<std::string> stamps(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t at = text.find("\r\nDTSTAMP:"); at != std::string::npos;
         at = text.find("\r\nDTSTAMP:", at + 1)) {
        out.push_back(text.substr(at + 10, text.find("\r\n", at + 10) - at - 10));
    }
    return out;
}

// DTSTAMP reads no clock, and a corrected event never gets an earlier stamp than the one it
// replaces: a client that keeps the revision with the newest stamp (RFC 5545 3.8.7.2, as
// Thunderbird and python-icalendar users do) takes the correction. Within a release an event's
// content is fixed and its stamp is the release's; a later release stamps later, and every
// stamp lies after those of the content hash used before (2000-01-01 .. 2019-12-27).
TEST(Feed, AStampNeverGoesBackForACorrectedEvent) {
    const FeedHeader header{"立春", "", "P1W"};
    FeedEvent e;
    e.uid = "sekki-315-2026-02-04";
    e.summary = "立春";
    e.category = "二十四節気";
    e.date = e.lastDate = CivilDate{2026, 2, 4};
    e.instant = true;
    e.hour = 5;
    e.minute = 2;
    e.description = "太陽の視黄経 315°";
    const std::vector<std::string> original = stamps(icsFeed(header, {e}));
    ASSERT_EQ(original.size(), 1u);
    EXPECT_EQ(stamps(icsFeed(header, {e})), original); // every run the same
    std::vector<FeedEvent> corrected;
    for (int minute = 0; minute < 60; ++minute) {
        FeedEvent c = e;
        c.minute = minute;
        corrected.push_back(c);
        c.description += "。注" + std::to_string(minute);
        corrected.push_back(c);
    }
    for (const FeedEvent& c : corrected) {
        const std::vector<std::string> now = stamps(icsFeed(header, {c}));
        ASSERT_EQ(now.size(), 1u);
        EXPECT_GE(now.front(), original.front()) << c.minute << " " << c.description;
    }

    const Release releases[] = {{0, 0, 0},   {1, 3, 18}, {1, 3, 19},  {1, 4, 0},
                                {1, 99, 99}, {2, 0, 0},  {99, 99, 99}};
    std::string before = "20191227T000000Z"; // the content hash's stamps end before it
    for (const Release& r : releases) {
        const std::string stamp = feedStamp(r);
        SCOPED_TRACE(stamp);
        ASSERT_EQ(stamp.size(), 16u);
        EXPECT_GT(stamp, before);
        before = stamp;
    }
    EXPECT_EQ(feedStamp({1, 3, 18}), "20200108T035800Z"); // 10318 minutes after 2020-01-01
    EXPECT_THROW(feedStamp({1, 100, 0}), std::invalid_argument);
    // The written stamp is this release's.
    EXPECT_EQ(original.front(), feedStamp(programRelease()));
}

} // namespace
} // namespace sorvane::exports
