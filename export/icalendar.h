// The year as an iCalendar (RFC 5545) file, built with libical.
#pragma once

#include "almanac/year_almanac.h"
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
// name; DESCRIPTION gives the Sun's longitude and the JST time (or the rule of the day); UIDs
// depend only on the year and the item, so a re-import replaces the events. Every DTSTAMP is
// dtstamp (UTC). The national holidays the almanac holds are all-day events of category 祝日.
// Throws IcsError when a date falls outside the years 1..9999 that the format can hold.
std::string icsCalendar(const almanac::YearAlmanac& almanac, std::time_t dtstamp);

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

// The 選日 of the notes' year as all-day events, one per note and day: SUMMARY the note's
// name ("一粒万倍日"), CATEGORIES "選日" and that name, DESCRIPTION its one-line meaning, UID
// "sorvane-YEAR-senjitsu-KEY-MMDD@sorvane" (KEY an ASCII name: "ichiryu-manbai", "tensha" ..).
// Throws IcsError outside the years 1..9999.
std::string notesIcsCalendar(const notes::YearNotes& notes, std::time_t dtstamp);

// Replaces the file at path with text, whole or not at all (writeFileAtomically); throws
// FileWriteError with a one-line message and the system's reason when it cannot.
void writeTextFile(const std::filesystem::path& path, const std::string& text);

} // namespace sorvane::exports
