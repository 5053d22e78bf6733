// One event, one UID: the year file, the 選日 file and the feeds key the same event alike, so
// that a year file imported beside a subscription replaces what the two share instead of
// doubling it; and whole days that end on the format's last day, 9999-12-31.
#include "almanac/days.h"
#include "export/feed.h"
#include "export/icalendar.h"
#include "support/ics_reading.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <libical/ical.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace sorvane::exports {
namespace {

using testing::eventsByUid;
using testing::parse;
using testing::ParsedEvent;

const almanac::Days& days() {
    static const almanac::Days d(testing::shippedTables(), almanac::Minutes::Observatory);
    return d;
}

// The JST date an event starts on: its date, or its UTC instant moved 9 hours on.
CivilDate jstStart(const ParsedEvent& e) {
    if (e.start.is_date) {
        return {e.start.year, e.start.month, e.start.day};
    }
    const icaltimetype jst =
        icaltime_add(e.start, icaldurationtype_from_int(9 * 3600)); // UTC+9, no daylight time
    return {jst.year, jst.month, jst.day};
}

TEST(CalendarKeys, TheSameEventHasTheSameUidInEveryFile) {
    const std::map<std::string, std::map<std::string, ParsedEvent>> files = {
        {"year",
         eventsByUid(
             parse(icsCalendar(days().year(2026, almanac::AlmanacOptions::everything(true)), 0))
                 .get())},
        {"senjitsu-file", eventsByUid(parse(notesIcsCalendar(days().notes(2026), 0)).get())},
        {"sekki", eventsByUid(parse(feedCalendar(FeedKind::Sekki, 2026, 2026, days())).get())},
        {"zassetsu",
         eventsByUid(parse(feedCalendar(FeedKind::Zassetsu, 2026, 2026, days())).get())},
        {"holidays",
         eventsByUid(parse(feedCalendar(FeedKind::Holidays, 2026, 2026, days())).get())},
        {"moon", eventsByUid(parse(feedCalendar(FeedKind::Moon, 2026, 2026, days())).get())},
        {"senjitsu",
         eventsByUid(parse(feedCalendar(FeedKind::Senjitsu, 2026, 2026, days())).get())},
    };
    // The keys of 2026's events and the files that hold them. Dates: 国立天文台 暦要項 令和8年
    // (立春 2月4日, 春分 3月20日, 望 1月3日, 朔 1月19日, 中秋の名月 9月25日), 内閣府「国民の
    // 祝日」 2026 (元日, 9月22日 国民の休日), 天赦日 2026-03-05 as the 選日 tests cite.
    struct Key {
        const char* uid;
        const char* summary;
        CivilDate date;
        std::vector<const char*> in;
    };
    const Key keys[] = {
        {"sekki-315-2026-02-04", "立春", {2026, 2, 4}, {"year", "sekki"}},
        {"sekki-000-2026-03-20", "春分", {2026, 3, 20}, {"year", "sekki"}},
        {"doyo-297-2026-01-17", "冬の土用入り", {2026, 1, 17}, {"year"}},
        {"zassetsu-setsubun-2026-02-03", "節分", {2026, 2, 3}, {"year", "zassetsu"}},
        {"holidays-2026-01-01", "元日", {2026, 1, 1}, {"year", "holidays"}},
        {"holidays-2026-09-22", "国民の休日", {2026, 9, 22}, {"year", "holidays"}},
        {"moon-full-2026-01-03", "望", {2026, 1, 3}, {"year", "moon"}},
        {"moon-new-2026-01-19", "朔", {2026, 1, 19}, {"year", "moon"}},
        {"moon-jugoya-2026-09-25", "十五夜", {2026, 9, 25}, {"year", "moon"}},
        {"senjitsu-tensha-2026-03-05", "天赦日", {2026, 3, 5}, {"senjitsu-file", "senjitsu"}},
    };
    for (const Key& key : keys) {
        for (const char* file : key.in) {
            SCOPED_TRACE(std::string(key.uid) + " in " + file);
            const auto& events = files.at(file);
            const auto found = events.find(std::string(key.uid) + "@sorvane");
            ASSERT_NE(found, events.end());
            EXPECT_EQ(found->second.summary, key.summary);
            EXPECT_EQ(jstStart(found->second), key.date);
        }
    }
    // Wherever two files share a UID they mean the same event: its name and its JST day.
    std::map<std::string, int> shared;
    for (const auto& [name, events] : files) {
        for (const auto& [otherName, others] : files) {
            if (name >= otherName) {
                continue;
            }
            for (const auto& [uid, e] : events) {
                const auto other = others.find(uid);
                if (other != others.end()) {
                    SCOPED_TRACE(uid + " in " + name + " and " + otherName);
                    EXPECT_EQ(e.summary, other->second.summary);
                    EXPECT_EQ(jstStart(e), jstStart(other->second));
                    ++shared[name + "+" + otherName];
                }
            }
        }
    }
    // The year file holds every term of the sekki feed, every holiday and 雑節 of theirs,
    // and the 朔, 望, 十五夜 and 十三夜 of the moon feed.
    EXPECT_EQ(shared["sekki+year"], 24);
    EXPECT_EQ(shared["holidays+year"], static_cast<int>(files.at("holidays").size()));
    EXPECT_EQ(shared["year+zassetsu"], static_cast<int>(files.at("zassetsu").size()));
    EXPECT_GE(shared["moon+year"], 12 + 12 + 2);
    EXPECT_EQ(shared["senjitsu+senjitsu-file"], static_cast<int>(files.at("senjitsu").size()));
}

// 9999-12-31 is the last day an iCalendar date can name; whole days that end on it cannot
// write the day after as DTEND and end with a DURATION instead (RFC 5545 3.8.2.5). Every
// other end stays a DTEND.
TEST(CalendarKeys, WholeDaysEndingOnTheFormatsLastDay) {
    struct Case {
        CivilDate first;
        CivilDate last;
        const char* end; // the line that ends the event
    };
    const Case cases[] = {
        {{9999, 12, 31}, {9999, 12, 31}, "DURATION:P1D\r\n"},
        {{9999, 12, 20}, {9999, 12, 31}, "DURATION:P12D\r\n"},
        {{9999, 12, 30}, {9999, 12, 30}, "DTEND;VALUE=DATE:99991231\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(isoDateText(c.first) + ".." + isoDateText(c.last));
        FeedEvent e;
        e.uid = "test-" + isoDateText(c.first);
        e.summary = "日";
        e.category = "test";
        e.date = c.first;
        e.lastDate = c.last;
        const std::string text = icsFeed(FeedHeader{"test", "test", "P1W"}, {e});
        EXPECT_NE(text.find(c.end), std::string::npos) << text;
        const auto events = eventsByUid(parse(text).get());
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(jstStart(events.begin()->second), c.first);
    }
    const std::string found = icsAllDayCalendar(
        "日を探す", "find-", {AllDayEvent{"99991231", "金", "日を探す", {9999, 12, 31}, ""}}, 0);
    EXPECT_NE(found.find("DTSTART;VALUE=DATE:99991231\r\nDURATION:P1D\r\n"), std::string::npos)
        << found;
}

} // namespace
} // namespace sorvane::exports
