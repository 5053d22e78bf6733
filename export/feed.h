// Subscription feeds: one kind of the almanac's notes over a run of years as one iCalendar
// calendar, for the calendars people carry (their phone's, Google's, Apple's, Thunderbird's).
// Each event's UID names its kind, the event and its JST date, so a feed written for another
// run of years updates the events a client holds instead of doubling them.
#pragma once

#include "almanac/coverage.h"
#include "almanac/days.h"
#include "export/icalendar.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvane::exports {

enum class FeedKind {
    Rokuyo,   // 六曜: one whole-day event a day
    Senjitsu, // 選日: the days of 一粒万倍日 .. 甲子の日 (己巳の日 with its 巳の日 as one event)
    Sekki,    // 二十四節気: instants
    Holidays, // 国民の祝日, 振替休日 and 国民の休日, nothing else
    Moon,     // 朔 .. 下弦 and the eclipses as instants, 十五夜 and 十三夜 as days
    Zassetsu, // 雑節: 節分, 彼岸, 八十八夜, 入梅, 半夏生, 土用 and its 丑の日, 二百十日, 二百二十日
    // 選日の期間: the periods 八専, 十方暮, 天一天上, whole, their 間日 named. A kind of its own:
    // together they cover about 38 of every 60 days, bars that crowd a phone's month view
    // of the 選日 of single days.
    SenjitsuPeriods,
    Shio, // 潮名: 大潮 .. 若潮, one whole-day event a day (by the lunisolar day)
};

inline constexpr std::array<FeedKind, 8> kFeedKinds{
    FeedKind::Rokuyo, FeedKind::Senjitsu, FeedKind::Sekki,           FeedKind::Holidays,
    FeedKind::Moon,   FeedKind::Zassetsu, FeedKind::SenjitsuPeriods, FeedKind::Shio};

// The kind's name on the command line and in file names: "rokuyo" .. "senjitsu-periods"
// (the periods' UIDs are the 選日's: "senjitsu-hassen-…").
const char* feedKindKey(FeedKind kind);
// The kind of a key, or none.
std::optional<FeedKind> feedKindOfKey(std::string_view key);

// The years a kind's feed can be written for, within the years an iCalendar file holds:
// 六曜, 選日 (不成就日 needs the lunisolar calendar) and the Moon 1900..2100, the holidays
// 1948..2100, the 節気 and 雑節 the years whose seasons keep to their months (1..8455).
almanac::YearSpan feedYears(FeedKind kind);
// The years a published site's feed of a kind holds (tools/feeds.sh writes the same): from
// the year before thisYear (Japan's) to three years after it, cut to feedYears(kind); none
// when the kind reaches no year of them.
inline constexpr int kPublishedYearsBefore = 1;
inline constexpr int kPublishedYearsAfter = 3;
std::optional<almanac::YearSpan> publishedFeedYears(FeedKind kind, int thisYear);
// Why a kind stops there, for a message: "the lunisolar calendar's years".
const char* feedYearsReason(FeedKind kind);

// The calendar's name ("六曜（Sorvane）") and its one-line description in Japanese.
const char* feedName(FeedKind kind);
const char* feedAbout(FeedKind kind);

// The feed's calendar properties: named feedName, described by feedAbout and the years,
// refreshed weekly.
FeedHeader feedHeader(FeedKind kind, int firstYear, int lastYear);

// The events of a kind from firstYear-01-01 to lastYear-12-31 (JST dates), in date order.
// A period of 選日 that crosses either end is given whole, as in any other run of years.
// The moments are the precise mode's where it reaches and the solar theory's elsewhere
// (whatever the days' minutes); the days read the term files for the 選日 and the solar
// theory's years only. Throws std::out_of_range for years outside feedYears.
std::vector<FeedEvent> feedEvents(FeedKind kind, int firstYear, int lastYear,
                                  const almanac::Days& days);

// The feed written as it is made, a year's events at a time, through write (header, events,
// footer): the memory it takes does not grow with the years. The pieces joined are
// feedCalendar's text. Throws as feedEvents and icsFeed do; what write throws ends it.
void writeFeed(FeedKind kind, int firstYear, int lastYear, const almanac::Days& days,
               const std::function<void(std::string_view)>& write);

// The whole feed: icsFeed of feedHeader and feedEvents.
std::string feedCalendar(FeedKind kind, int firstYear, int lastYear, const almanac::Days& days);

} // namespace sorvane::exports
