// The year as an iCalendar (RFC 5545) file, built with libical.
#pragma once

#include "almanac/year_almanac.h"
#include "export/calendar_events.h"
#include "notes/notes.h"

#include <ctime>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace sorvane::exports {

class IcsError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The calendar of the almanac's year: the 24 solar terms, the four 土用 entries and the 雑節
// moments as instants (DTSTART in UTC, the shown JST minute less 9 hours); the 雑節 days and
// the 土用 periods as all-day events; with the almanac's lunisolar year, the 朔 and 望 as
// instants and 旧正月, 伝統的七夕, 十五夜 and 十三夜 as all-day events. SUMMARY is the Japanese
// name; DESCRIPTION gives the Sun's longitude, the JST time and how it was computed (or the
// rule of the day); UIDs are the events' keys (calendar_events.h), the same as a feed's for
// the same event, so a re-import or a subscription beside it replaces the events. Every
// DTSTAMP is dtstamp (UTC). The national holidays the almanac holds are all-day events of
// category 祝日. Throws IcsError when a date falls outside the years 1..9999 that the format
// can hold; whole days that end on 9999-12-31 are written with a DURATION.
std::string icsCalendar(const almanac::YearAlmanac& almanac, std::time_t dtstamp);

// A calendar named calendarName of the events as they are (their UIDs the events' keys and
// "@sorvane"), every DTSTAMP dtstamp. Throws IcsError for a date outside the years 1..9999.
std::string icsEventCalendar(const std::string& calendarName,
                             const std::vector<CalendarEvent>& events, std::time_t dtstamp);

// One whole day of a calendar made by icsAllDayCalendar.
struct AllDayEvent {
    std::string id; // unique in the calendar and the same from run to run
    std::string summary;
    std::string category;
    CivilDate date;
    std::string description;
};

// A calendar of whole days, named calendarName (X-WR-CALNAME), each event's UID uidPrefix,
// its id and "@sorvane". Throws IcsError for a date outside the years 1..9999.
std::string icsAllDayCalendar(const std::string& calendarName, const std::string& uidPrefix,
                              const std::vector<AllDayEvent>& events, std::time_t dtstamp);

// A calendar of icsAllDayCalendar made a piece at a time, for more days than a calendar in
// memory can hold: header(), then event() for each day (at least one: RFC 5545 wants a
// component), then footer(); the pieces joined are the text icsAllDayCalendar gives.
class AllDayCalendarPieces {
  public:
    AllDayCalendarPieces(const std::string& calendarName, const std::string& uidPrefix,
                         std::time_t dtstamp);
    ~AllDayCalendarPieces();
    std::string header() const;
    // Throws IcsError for a date outside the years 1..9999.
    std::string event(const AllDayEvent& event);
    static std::string footer();

  private:
    struct Pieces;
    std::unique_ptr<Pieces> pieces_;
};

// The 選日 of the notes' year as the 選日 feed has them: the one-day notes one event each,
// SUMMARY the note's name ("一粒万倍日"), CATEGORIES "選日" and that name, DESCRIPTION its
// one-line meaning, and each period (八専, 十方暮, 天一天上) that shares a day with the year
// one event, whole, its 間日 named; UIDs "senjitsu-KEY-YYYY-MM-DD@sorvane" (KEY an ASCII name:
// "ichiryu-manbai", "tensha" ..). Throws IcsError outside the years 1..9999.
std::string notesIcsCalendar(const notes::YearNotes& notes, std::time_t dtstamp);

// ---- Subscription feeds -----------------------------------------------------------------

// A feed calendar's own properties.
struct FeedHeader {
    std::string name;        // NAME and X-WR-CALNAME: "六曜（Sorvane）"
    std::string description; // DESCRIPTION and X-WR-CALDESC
    std::string refresh;     // REFRESH-INTERVAL and X-PUBLISHED-TTL, a duration: "P1W"
};

// One event of a feed: the calendars' one event model.
using FeedEvent = CalendarEvent;

// A feed: VERSION, PRODID, CALSCALE, X-WR-CALNAME, X-WR-CALDESC, X-WR-TIMEZONE (Asia/Tokyo),
// NAME, DESCRIPTION, REFRESH-INTERVAL and X-PUBLISHED-TTL, then the events in the given order,
// each UID its uid and "@sorvane", each DTSTAMP feedStamp(programRelease()). No clock is read: the
// same arguments give the same bytes. Throws IcsError for a date outside the years 1..9999.
std::string icsFeed(const FeedHeader& header, const std::vector<FeedEvent>& events);

// A feed made a piece at a time, for runs of years too long to hold in memory: header(), then
// events() for each batch in date order, then footer(); the pieces joined are the text icsFeed
// gives for all the events.
class FeedPieces {
  public:
    explicit FeedPieces(const FeedHeader& header);
    ~FeedPieces();
    std::string header() const;
    // Throws IcsError for a date outside the years 1..9999.
    std::string events(const std::vector<FeedEvent>& events);
    static std::string footer();

  private:
    struct Pieces;
    std::unique_ptr<Pieces> pieces_;
};

// A release of the program: the three parts of its version ("1.3.18"), each below 100.
struct Release {
    int major = 0;
    int minor = 0;
    int patch = 0;
};
// This program's release (its version, sorvane/version.h).
Release programRelease();

// The DTSTAMP of every event of a feed, "YYYYMMDDTHHMMSSZ": not a clock reading but
// 2020-01-01 00:00 UTC plus major * 10000 + minor * 100 + patch minutes of the release that
// wrote it. The same release gives the same bytes on every run; an event a later release
// corrects gets a later stamp, so a client that keeps the newest revision of a UID takes the
// correction. The stamps of releases before this scheme (2000-01-01 .. 2019-12-27, from a
// hash of the content) are all earlier.
std::string feedStamp(const Release& release);

// ---- Texts the calendars share ------------------------------------------------------------

// "2026年2月4日 5時02分（日本時間）".
std::string jstText(const CivilDate& date, int hour, int minute);
// "太陽黄経 315°" (the solar theory), "太陽の視黄経 315°" (precise).
std::string longitudeText(double degrees, bool precise);
// What kind of holiday a day is, one line, and whether its date is provisional.
std::string holidayDescription(const holidays::Holiday& holiday);
// "月と太陽の視黄経の差 0°、2026年1月19日 4時52分（日本時間）。国立天文台と同じ計算方法（IAU
// の理論）による".
std::string phaseDescription(lunisolar::Phase phase, const CivilDate& date, int hour, int minute);
// A 選日's ASCII key in UIDs: "ichiryu-manbai", "tensha" .. "tenichi-tenjo".
const char* senjitsuKey(notes::Senjitsu s);

// Replaces the file at path with text, whole or not at all (writeFileAtomically); throws
// FileWriteError with a one-line message and the system's reason when it cannot.
void writeTextFile(const std::filesystem::path& path, const std::string& text);

} // namespace sorvane::exports
