#include "export/icalendar.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <libical/ical.h>
#include <memory>

namespace sorvane::exports {

namespace {

std::string jstText(const CivilDate& d, int hour, int minute) {
    return std::to_string(d.year) + "年" + formatTwoDigits(d.month) + "月" +
           formatTwoDigits(d.day) + "日 " + formatTwoDigits(hour) + "時" + formatTwoDigits(minute) +
           "分（日本時）";
}

icaltimetype dateValue(const CivilDate& d) {
    icaltimetype t = icaltime_null_date();
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    return t;
}

// The UTC instant of a JST date and minute.
icaltimetype utcInstant(const CivilDate& jstDate, int hour, int minute) {
    long long minutes = hour * 60 + minute - 9 * 60;
    long long dayShift = 0;
    if (minutes < 0) {
        minutes += 1440;
        dayShift = -1;
    }
    const CivilDate d = addDays(jstDate, dayShift);
    icaltimetype t = icaltime_null_time();
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    t.hour = static_cast<int>(minutes / 60);
    t.minute = static_cast<int>(minutes % 60);
    t.second = 0;
    t.zone = icaltimezone_get_utc_timezone();
    return t;
}

std::string longitudeText(double degrees, bool precise) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f°", degrees);
    return std::string(precise ? "太陽の視黄経 " : "太陽黄経 ") + buf;
}

class Calendar {
  public:
    Calendar(int year, bool precise, std::time_t dtstamp)
        : year_(year), precise_(precise),
          stamp_(icaltime_from_timet_with_zone(dtstamp, 0, icaltimezone_get_utc_timezone())),
          cal_(icalcomponent_new_vcalendar(), icalcomponent_free) {
        icalcomponent_add_property(cal_.get(), icalproperty_new_version("2.0"));
        icalcomponent_add_property(cal_.get(), icalproperty_new_prodid("-//Sorvane//Sorvane//JA"));
        icalcomponent_add_property(cal_.get(), icalproperty_new_calscale("GREGORIAN"));
        icalproperty* name = icalproperty_new_x(
            (std::to_string(year) + "年 二十四節気と雑節" + (precise ? "（精密）" : "")).c_str());
        icalproperty_set_x_name(name, "X-WR-CALNAME");
        icalcomponent_add_property(cal_.get(), name);
    }

    void instant(const std::string& id, const std::string& summary, const std::string& category,
                 const CivilDate& date, int hour, int minute, double longitude) {
        icalcomponent* ev = event(id, summary, category);
        icalcomponent_add_property(ev, icalproperty_new_dtstart(utcInstant(date, hour, minute)));
        const std::string description = longitudeText(longitude, precise_) + "、" +
                                        jstText(date, hour, minute) +
                                        (precise_ ? "。IAU の理論による精密計算" : "");
        icalcomponent_add_property(ev, icalproperty_new_description(description.c_str()));
    }

    void days(const std::string& id, const std::string& summary, const std::string& category,
              const CivilDate& first, const CivilDate& last, const std::string& description) {
        icalcomponent* ev = event(id, summary, category);
        icalcomponent_add_property(ev, icalproperty_new_dtstart(dateValue(first)));
        icalcomponent_add_property(ev, icalproperty_new_dtend(dateValue(addDays(last, 1))));
        icalcomponent_add_property(ev, icalproperty_new_description(description.c_str()));
    }

    std::string text() const {
        char* s = icalcomponent_as_ical_string_r(cal_.get());
        if (s == nullptr) {
            throw IcsError("the calendar could not be written");
        }
        std::string out(s);
        std::free(s);
        return out;
    }

  private:
    icalcomponent* event(const std::string& id, const std::string& summary,
                         const std::string& category) {
        icalcomponent* ev = icalcomponent_new_vevent();
        const std::string uid = "sorvane-" + std::to_string(year_) + "-" + id + "@sorvane";
        icalcomponent_add_property(ev, icalproperty_new_uid(uid.c_str()));
        icalcomponent_add_property(ev, icalproperty_new_dtstamp(stamp_));
        icalcomponent_add_property(ev, icalproperty_new_summary(summary.c_str()));
        icalcomponent_add_property(ev, icalproperty_new_categories(category.c_str()));
        icalcomponent_add_property(ev, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        icalcomponent_add_component(cal_.get(), ev);
        return ev;
    }

    int year_;
    bool precise_;
    icaltimetype stamp_;
    std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> cal_;
};

} // namespace

std::string icsCalendar(const almanac::YearAlmanac& almanac, std::time_t dtstamp) {
    Calendar cal(almanac.year, almanac.precise, dtstamp);
    for (const almanac::Event& e : almanac.solarTerms) {
        cal.instant(e.id, almanac::eventTitle(e), e.kind == EventKind::Doyo ? "土用" : "二十四節気",
                    e.date, e.hour, e.minute, e.longitude);
    }
    for (const almanac::Event& z : almanac.zassetsu) {
        switch (z.kind) {
        case EventKind::ZassetsuMoment:
            cal.instant(z.id, z.name, "雑節", z.date, z.hour, z.minute, z.longitude);
            break;
        case EventKind::DoyoPeriod:
            cal.days(z.id, z.name, "雑節", z.date, z.lastDate, z.rule);
            break;
        default:
            cal.days(z.id, z.name, "雑節", z.date, z.date, z.rule);
            break;
        }
    }
    return cal.text();
}

void writeTextFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw IcsError(path.string() + ": cannot be opened for writing");
    }
    out << text;
    out.close();
    if (!out) {
        throw IcsError(path.string() + ": could not be written");
    }
}

} // namespace sorvane::exports
