#include "export/icalendar.h"

#include "almanac/coverage.h"
#include "calendar/jst.h"
#include "export/atomic_file.h"
#include "export/days_document.h"
#include "export/ical_calls.h"
#include "lunisolar/lunisolar_year.h"
#include "sorvane/version.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <stdexcept>

namespace sorvane::exports {

const char* senjitsuKey(notes::Senjitsu s) {
    static constexpr std::array<const char*, notes::kSenjitsuCount> kKeys{
        "ichiryu-manbai", "tensha",   "tora",   "mi",        "tsuchinotomi", "kinoene",
        "fujoju",         "sanrinbo", "hassen", "jippogure", "tenichi-tenjo"};
    return kKeys.at(static_cast<std::size_t>(s));
}

std::string jstText(const CivilDate& d, int hour, int minute) {
    return std::to_string(d.year) + "年" + japaneseMonthDayText(d) + "日 " + std::to_string(hour) +
           "時" + formatTwoDigits(minute) + "分（日本時間）";
}

std::string longitudeText(double degrees, bool precise) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f°", degrees);
    return std::string(precise ? "太陽の視黄経 " : "太陽黄経 ") + buf;
}

namespace {

std::string holidayKindText(holidays::HolidayKind kind) {
    switch (kind) {
    case holidays::HolidayKind::Special:
        return "その日を休日とする法律による休日";
    case holidays::HolidayKind::Substitute:
        return "振替休日（日曜日に当たった国民の祝日の振替）";
    case holidays::HolidayKind::Bridge:
        return "国民の休日（前日と翌日が国民の祝日である日）";
    case holidays::HolidayKind::National:
        return "国民の祝日";
    }
    throw std::logic_error("iCalendar: a holiday of no known kind");
}

} // namespace

std::string holidayDescription(const holidays::Holiday& holiday) {
    std::string description = holidayKindText(holiday.kind);
    if (holiday.provisional) {
        description += "。春分日・秋分日が未公示の年の計算による日付";
    }
    return description;
}

std::string phaseDescription(lunisolar::Phase phase, const CivilDate& date, int hour, int minute) {
    static const char* const kAngles[] = {"0°", "90°", "180°", "270°"};
    return std::string("月と太陽の視黄経の差 ") + kAngles[static_cast<int>(phase)] + "、" +
           jstText(date, hour, minute) + "。国立天文台と同じ計算方法（IAU の理論）による";
}

namespace {

// The deleter of a component the writer owns.
void freeComponent(icalcomponent* component) {
    icalCalls().icalcomponent_free(component);
}

// A DTSTART or DTEND property: an all-day date, or the UTC instant of a JST date and
// minute. Built from its text, because libical's own time values stop at the year 3000
// while the format holds every year 1..9999.
icalproperty* timeProperty(const char* name, const CivilDate& jstDate, int hour, int minute,
                           bool allDay) {
    CivilDate d = jstDate;
    long long minutes = hour * 60 + minute - kJstOffsetMinutes;
    if (!allDay && minutes < 0) {
        minutes += 1440;
        d = addDays(jstDate, -1);
    }
    if (!almanac::covers(almanac::Source::ICalendar, d.year)) {
        throw IcsError("the date " + std::to_string(d.year) + "-" + monthDayText(d) +
                       " lies outside the years " +
                       almanac::spanText(almanac::coverage(almanac::Source::ICalendar)) +
                       " an iCalendar file can hold");
    }
    char text[64];
    if (allDay) {
        std::snprintf(text, sizeof text, "%s;VALUE=DATE:%04d%02d%02d", name, d.year, d.month,
                      d.day);
    } else {
        std::snprintf(text, sizeof text, "%s:%04d%02d%02dT%02lld%02lld00Z", name, d.year, d.month,
                      d.day, minutes / 60, minutes % 60);
    }
    icalproperty* property = icalCalls().icalproperty_new_from_string(text);
    if (property == nullptr) {
        throw IcsError(std::string("libical does not take ") + text);
    }
    return property;
}

// The DTSTAMP property of a clock reading, as text: libical's own time values stop at the
// year 3000 (and print 00000000T000000 after it). A clock outside the years 1..9999 the
// format holds gives the nearest instant inside them.
std::string stampText(std::time_t now) {
    std::tm utc{};
    int year = 0;
    if (gmtime_r(&now, &utc) != nullptr) {
        year = utc.tm_year + 1900;
    }
    const almanac::YearSpan years = almanac::coverage(almanac::Source::ICalendar);
    char text[80]; // room for any int year: the compiler does not bound it
    if (!years.contains(year)) {
        const bool late = year > years.last || (year == 0 && now > 0);
        if (late) {
            std::snprintf(text, sizeof text, "DTSTAMP:%04d1231T235959Z", years.last);
        } else {
            std::snprintf(text, sizeof text, "DTSTAMP:%04d0101T000000Z", years.first);
        }
        return text;
    }
    std::snprintf(text, sizeof text, "DTSTAMP:%04d%02d%02dT%02d%02d%02dZ", year, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

class Calendar {
  public:
    // A calendar called calendarName whose events' UIDs are uidPrefix, their id and
    // "@sorvane".
    Calendar(const std::string& calendarName, std::string uidPrefix, std::time_t dtstamp)
        : uidPrefix_(std::move(uidPrefix)), stamp_(stampText(dtstamp)),
          cal_(icalCalls().icalcomponent_new_vcalendar(), freeComponent) {
        icalCalls().icalcomponent_add_property(cal_.get(),
                                               icalCalls().icalproperty_new_version("2.0"));
        icalCalls().icalcomponent_add_property(cal_.get(),
                                               icalCalls().icalproperty_new_prodid(kProductId));
        icalCalls().icalcomponent_add_property(cal_.get(),
                                               icalCalls().icalproperty_new_calscale("GREGORIAN"));
        icalproperty* name = icalCalls().icalproperty_new_x(calendarName.c_str());
        icalCalls().icalproperty_set_x_name(name, "X-WR-CALNAME");
        icalCalls().icalcomponent_add_property(cal_.get(), name);
    }

    void days(const std::string& id, const std::string& summary, const std::string& category,
              const CivilDate& first, const CivilDate& last, const std::string& description) {
        icalcomponent* ev = event(id, summary, category);
        addDaySpan(ev, first, last);
        icalCalls().icalcomponent_add_property(
            ev, icalCalls().icalproperty_new_description(description.c_str()));
    }

    // A property of the calendar itself, from its text ("REFRESH-INTERVAL;VALUE=DURATION:P1W").
    void property(const std::string& text) {
        icalproperty* p = icalCalls().icalproperty_new_from_string(text.c_str());
        if (p == nullptr) {
            throw IcsError("libical does not take " + text);
        }
        icalCalls().icalcomponent_add_property(cal_.get(), p);
    }

    void add(icalproperty* p) { icalCalls().icalcomponent_add_property(cal_.get(), p); }

    // A text property of the calendar (its value escaped as RFC 5545 wants).
    void textProperty(const char* name, const std::string& value) {
        icalproperty* p = icalCalls().icalproperty_new_x(value.c_str());
        icalCalls().icalproperty_set_x_name(p, name);
        icalCalls().icalcomponent_add_property(cal_.get(), p);
    }

    // One event, its DTSTAMP the calendar's (the clock's) or, given, a feed's (feedStamp).
    void write(const CalendarEvent& e, const std::string& stamp = {}) {
        icalcomponent* ev =
            event(e.uid, e.summary, e.category, stamp.empty() ? stamp_ : "DTSTAMP:" + stamp);
        if (e.instant) {
            icalCalls().icalcomponent_add_property(
                ev, timeProperty("DTSTART", e.date, e.hour, e.minute, false));
        } else {
            addDaySpan(ev, e.date, e.lastDate);
        }
        icalCalls().icalcomponent_add_property(
            ev, icalCalls().icalproperty_new_description(e.description.c_str()));
    }

    std::string text() const { return componentText(cal_.get()); }

    // The text of the events added since the last call, which the calendar then drops (for
    // a calendar written a piece at a time).
    std::string takeEvents() {
        std::string out;
        while (icalcomponent* ev = icalCalls().icalcomponent_get_first_component(
                   cal_.get(), ICAL_VEVENT_COMPONENT)) {
            icalCalls().icalcomponent_remove_component(cal_.get(), ev);
            const std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> owned(ev, freeComponent);
            out += componentText(ev);
        }
        return out;
    }

  private:
    // DTSTART and DTEND of whole days first..last. DTEND is the day after the last, which
    // for 9999-12-31 the format cannot write: such days end with DURATION instead (RFC 5545
    // 3.8.2.5), which every client reads the same.
    static void addDaySpan(icalcomponent* ev, const CivilDate& first, const CivilDate& last) {
        icalCalls().icalcomponent_add_property(ev, timeProperty("DTSTART", first, 0, 0, true));
        const CivilDate end = addDays(last, 1);
        if (almanac::covers(almanac::Source::ICalendar, end.year)) {
            icalCalls().icalcomponent_add_property(ev, timeProperty("DTEND", end, 0, 0, true));
            return;
        }
        const std::string duration =
            "DURATION:P" + std::to_string(dayNumber(end) - dayNumber(first)) + "D";
        icalproperty* property = icalCalls().icalproperty_new_from_string(duration.c_str());
        if (property == nullptr) {
            throw IcsError("libical does not take " + duration);
        }
        icalCalls().icalcomponent_add_property(ev, property);
    }

    static std::string componentText(icalcomponent* component) {
        char* s = icalCalls().icalcomponent_as_ical_string_r(component);
        if (s == nullptr) {
            throw IcsError("the calendar could not be written");
        }
        std::string out(s);
        std::free(s);
        return out;
    }

    icalcomponent* event(const std::string& id, const std::string& summary,
                         const std::string& category) {
        return event(id, summary, category, stamp_);
    }

    // An event whose DTSTAMP property is stamp (its text, "DTSTAMP:...Z").
    icalcomponent* event(const std::string& id, const std::string& summary,
                         const std::string& category, const std::string& stamp) {
        icalcomponent* ev = icalCalls().icalcomponent_new_vevent();
        const std::string uid = uidPrefix_ + id + "@sorvane";
        icalCalls().icalcomponent_add_property(ev, icalCalls().icalproperty_new_uid(uid.c_str()));
        icalCalls().icalcomponent_add_property(
            ev, icalCalls().icalproperty_new_from_string(stamp.c_str()));
        icalCalls().icalcomponent_add_property(
            ev, icalCalls().icalproperty_new_summary(summary.c_str()));
        // Several categories ("選日,天赦日"): one CATEGORIES property each, which RFC 5545
        // allows and libical keeps whole (its constructor would escape the comma).
        for (std::size_t from = 0; from <= category.size();) {
            const std::size_t comma = std::min(category.find(',', from), category.size());
            icalCalls().icalcomponent_add_property(
                ev, icalCalls().icalproperty_new_categories(
                        category.substr(from, comma - from).c_str()));
            from = comma + 1;
        }
        icalCalls().icalcomponent_add_property(
            ev, icalCalls().icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        icalCalls().icalcomponent_add_component(cal_.get(), ev);
        return ev;
    }

    std::string uidPrefix_;
    std::string stamp_; // the DTSTAMP property's text
    std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> cal_;
};

} // namespace

std::string icsCalendar(const almanac::YearAlmanac& almanac, std::time_t dtstamp) {
    Calendar cal(std::to_string(almanac.year) + "年 二十四節気と雑節" +
                     (almanac.precise ? "（精密）" : ""),
                 "", dtstamp);
    std::vector<CalendarEvent> events = solarTermEvents(almanac, true);
    appendEvents(events, zassetsuEvents(almanac, true));
    if (almanac.lunisolar) {
        appendEvents(events, phaseEvents(*almanac.lunisolar, PhaseSet::NewAndFull));
        appendEvents(events, lunisolarDayEvents(*almanac.lunisolar, false));
    }
    appendEvents(events, holidayEvents(almanac.holidays));
    for (const CalendarEvent& e : events) {
        cal.write(e);
    }
    return cal.text();
}

std::string notesIcsCalendar(const notes::YearNotes& notes, std::time_t dtstamp) {
    Calendar cal(std::to_string(notes.year) + "年 選日", "", dtstamp);
    for (const CalendarEvent& e : senjitsuDayEvents(notes)) {
        cal.write(e);
    }
    for (const CalendarEvent& e :
         senjitsuPeriodEvents(CivilDate{notes.year, 1, 1}, CivilDate{notes.year, 12, 31})) {
        cal.write(e);
    }
    return cal.text();
}

std::string icsEventCalendar(const std::string& calendarName,
                             const std::vector<CalendarEvent>& events, std::time_t dtstamp) {
    Calendar cal(calendarName, "", dtstamp);
    for (const CalendarEvent& e : events) {
        cal.write(e);
    }
    return cal.text();
}

std::string icsAllDayCalendar(const std::string& calendarName, const std::string& uidPrefix,
                              const std::vector<AllDayEvent>& events, std::time_t dtstamp) {
    Calendar cal(calendarName, uidPrefix, dtstamp);
    for (const AllDayEvent& e : events) {
        cal.days(e.id, e.summary, e.category, e.date, e.date, e.description);
    }
    return cal.text();
}

Release programRelease() {
    Release r;
    if (std::sscanf(kVersion, "%d.%d.%d", &r.major, &r.minor, &r.patch) != 3) {
        throw std::logic_error(std::string("the version \"") + kVersion +
                               "\" is not MAJOR.MINOR.PATCH");
    }
    return r;
}

std::string feedStamp(const Release& release) {
    const auto part = [](int value) {
        if (value < 0 || value > 99) {
            throw std::invalid_argument("a release's part " + std::to_string(value) +
                                        " is outside 0..99");
        }
        return value;
    };
    const long long minutes =
        part(release.major) * 10000LL + part(release.minor) * 100LL + part(release.patch);
    const CivilDate day = civilDate(dayNumber(CivilDate{2020, 1, 1}) + minutes / 1440);
    const long long m = minutes % 1440;
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02lld%02lld00Z", day.year, day.month, day.day,
                  m / 60, m % 60);
    return text;
}

namespace {

// A calendar's text up to its footer: its properties and the events it still holds.
std::string headerText(const Calendar& calendar) {
    std::string text = calendar.text();
    const std::size_t end = text.rfind(FeedPieces::footer());
    if (end == std::string::npos) {
        throw IcsError("the calendar could not be written");
    }
    text.resize(end);
    return text;
}

} // namespace

struct FeedPieces::Pieces {
    Calendar calendar;
    std::string stamp; // every event's DTSTAMP
};

FeedPieces::FeedPieces(const FeedHeader& header)
    : pieces_(std::make_unique<Pieces>(
          Pieces{Calendar(header.name, "", 0), feedStamp(programRelease())})) {
    Calendar& cal = pieces_->calendar;
    cal.textProperty("X-WR-CALDESC", header.description);
    cal.property("X-WR-TIMEZONE:Asia/Tokyo");
    cal.add(icalCalls().icalproperty_new_name(header.name.c_str()));
    cal.add(icalCalls().icalproperty_new_description(header.description.c_str()));
    cal.property("REFRESH-INTERVAL;VALUE=DURATION:" + header.refresh);
    cal.property("X-PUBLISHED-TTL:" + header.refresh);
}

FeedPieces::~FeedPieces() = default;

std::string FeedPieces::header() const {
    return headerText(pieces_->calendar);
}

std::string FeedPieces::events(const std::vector<FeedEvent>& events) {
    std::string out;
    for (const FeedEvent& e : events) {
        pieces_->calendar.write(e, pieces_->stamp);
        // One event at a time: libical's tree of a whole feed is many times its text.
        out += pieces_->calendar.takeEvents();
    }
    return out;
}

std::string FeedPieces::footer() {
    return "END:VCALENDAR\r\n";
}

std::string icsFeed(const FeedHeader& header, const std::vector<FeedEvent>& events) {
    FeedPieces pieces(header);
    return pieces.header() + pieces.events(events) + FeedPieces::footer();
}

struct AllDayCalendarPieces::Pieces {
    Calendar calendar;
};

AllDayCalendarPieces::AllDayCalendarPieces(const std::string& calendarName,
                                           const std::string& uidPrefix, std::time_t dtstamp)
    : pieces_(std::make_unique<Pieces>(Pieces{Calendar(calendarName, uidPrefix, dtstamp)})) {}

AllDayCalendarPieces::~AllDayCalendarPieces() = default;

std::string AllDayCalendarPieces::header() const {
    return headerText(pieces_->calendar);
}

std::string AllDayCalendarPieces::event(const AllDayEvent& e) {
    pieces_->calendar.days(e.id, e.summary, e.category, e.date, e.date, e.description);
    return pieces_->calendar.takeEvents();
}

std::string AllDayCalendarPieces::footer() {
    return FeedPieces::footer();
}

void writeTextFile(const std::filesystem::path& path, const std::string& text) {
    writeFileAtomically(path, text);
}

} // namespace sorvane::exports
