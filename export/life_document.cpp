#include "export/life_document.h"

#include "export/icalendar.h"

#include <nlohmann/json.hpp>

namespace sorvane::exports {

namespace {

using Json = nlohmann::ordered_json;

Json dateJson(const lifeevents::EventDate& e) {
    Json j;
    j["name"] = e.name;
    if (e.date) {
        j["date"] = isoDateText(*e.date);
    } else if (e.year) {
        j["year"] = *e.year;
    }
    if (e.date && e.year) {
        j["year"] = *e.year;
    }
    if (e.age) {
        j["age"] = *e.age;
    }
    if (e.kazoe) {
        j["kazoe"] = *e.kazoe;
    }
    if (!e.sexagenary.empty()) {
        j["sexagenary"] = e.sexagenary;
    }
    if (!e.era.empty()) {
        j["era"] = e.era;
    }
    if (e.taiyaku) {
        j["taiyaku"] = true;
    }
    j["note"] = e.note;
    if (e.windowFirst && e.windowLast) {
        j["window"] = {isoDateText(*e.windowFirst), isoDateText(*e.windowLast)};
    }
    return j;
}

Json datesJson(const std::vector<lifeevents::EventDate>& dates) {
    Json a = Json::array();
    for (const lifeevents::EventDate& e : dates) {
        a.push_back(dateJson(e));
    }
    return a;
}

std::string entryText(const lifeevents::EventDate& e) {
    std::string line = "  " + e.name + "  ";
    if (e.date) {
        line += isoDateText(*e.date) + "（" + japaneseMonthDayText(*e.date) + "）";
    } else if (e.year) {
        line += std::to_string(*e.year) + "年";
    }
    if (!e.era.empty()) {
        line += "  " + e.era;
    }
    if (!e.sexagenary.empty()) {
        line += "  " + e.sexagenary;
    }
    if (e.kazoe) {
        line += "  満" + std::to_string(*e.age) + "歳・数え" + std::to_string(*e.kazoe) + "歳";
    }
    return line + (e.note.empty() ? "" : "  " + e.note) + "\n";
}

std::string joined(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (const std::string& p : parts) {
        out += (out.empty() ? "" : separator) + p;
    }
    return out;
}

} // namespace

std::string lifeJson(const lifeevents::Plan& plan) {
    Json doc;
    doc["kind"] = lifeevents::kindName(plan.kind);
    if (plan.date) {
        doc["date"] = isoDateText(*plan.date);
    }
    if (plan.year) {
        doc["year"] = *plan.year;
    }
    if (plan.sex != lifeevents::Sex::Unknown) {
        doc["sex"] = lifeevents::sexName(plan.sex);
    }
    doc["convention"] = plan.convention;
    Json sources = Json::array();
    for (const lifeevents::Convention& c : lifeevents::conventions(plan.kind)) {
        for (const lifeevents::Source& s : c.sources) {
            sources.push_back(
                {{"convention", c.text}, {"url", s.url}, {"title", s.title}, {"read", s.read}});
        }
    }
    doc["dates"] = datesJson(plan.dates);
    Json alternatives = Json::array();
    for (const lifeevents::Alternative& a : plan.alternatives) {
        alternatives.push_back({{"convention", a.convention}, {"dates", datesJson(a.dates)}});
    }
    doc["alternatives"] = alternatives;
    Json candidates = Json::array();
    for (const lifeevents::Candidate& c : plan.candidates) {
        candidates.push_back({{"for", c.forName},
                              {"date", isoDateText(c.date)},
                              {"weekday", c.weekday},
                              {"rokuyo", c.rokuyo},
                              {"reasons", c.reasons}});
    }
    doc["candidates"] = candidates;
    doc["notes"] = plan.notes;
    doc["sources"] = sources;
    return doc.dump(2) + "\n";
}

std::string lifeReport(const lifeevents::Plan& plan) {
    std::string out = lifeevents::kindName(plan.kind);
    if (plan.date) {
        out += "  " + isoDateText(*plan.date);
    }
    if (plan.year) {
        out += "  " + std::to_string(*plan.year) + "年";
    }
    if (plan.sex != lifeevents::Sex::Unknown) {
        out += "  " + std::string(lifeevents::sexName(plan.sex));
    }
    out += "\n慣わし：" + plan.convention + "\n";
    for (const lifeevents::EventDate& e : plan.dates) {
        out += entryText(e);
    }
    for (const std::string& note : plan.notes) {
        out += "注：" + note + "\n";
    }
    for (const lifeevents::Alternative& a : plan.alternatives) {
        out += "\n別の慣わし：" + a.convention + "\n";
        for (const lifeevents::EventDate& e : a.dates) {
            out += entryText(e);
        }
    }
    if (!plan.candidates.empty()) {
        out += "\n候補日（土日祝、六曜、選日の順に）\n";
        std::string current;
        for (const lifeevents::Candidate& c : plan.candidates) {
            if (c.forKey != current) {
                out += "  " + c.forName + "\n";
                current = c.forKey;
            }
            out += "    " + isoDateText(c.date) + "（" + c.weekday + "）" +
                   (c.rokuyo.empty() ? "" : " " + c.rokuyo) + "  " + joined(c.reasons, "、") + "\n";
        }
    }
    out += "\n出典\n";
    for (const lifeevents::Convention& c : lifeevents::conventions(plan.kind)) {
        for (const lifeevents::Source& s : c.sources) {
            out += "  " + std::string(s.title) + " " + s.url + "（" + s.read + " 閲覧）\n";
        }
    }
    return out;
}

std::vector<CalendarEvent> lifeEvents(const lifeevents::Plan& plan) {
    std::vector<CalendarEvent> events;
    for (const lifeevents::EventDate& e : plan.dates) {
        // A person's 厄年 is a whole year (from 1 January); the tables of a year (no date
        // asked) are birth years, no events.
        const bool wholeYear = !e.date && e.year && plan.date;
        if (!e.date && !wholeYear) {
            continue;
        }
        const CivilDate first = wholeYear ? CivilDate{*e.year, 1, 1} : *e.date;
        CalendarEvent ev;
        ev.uid = std::string("life-") + lifeevents::kindKey(plan.kind) + "-" + e.key + "-" +
                 isoDateText(first);
        ev.summary = e.name + (wholeYear ? "（" + std::to_string(*e.year) + "年）" : "");
        ev.category = std::string("行事,") + lifeevents::kindName(plan.kind);
        ev.date = first;
        ev.lastDate = wholeYear ? CivilDate{*e.year, 12, 31} : *e.date;
        ev.description = e.note + "。慣わし：" + plan.convention;
        events.push_back(std::move(ev));
    }
    return events;
}

std::string lifeIcsCalendar(const lifeevents::Plan& plan, std::time_t dtstamp) {
    const std::vector<CalendarEvent> events = lifeEvents(plan);
    if (events.empty()) {
        throw IcsError("この行事には日付のある予定がないため、カレンダーファイルは作れません");
    }
    return icsEventCalendar(std::string(lifeevents::kindName(plan.kind)) + "（Sorvane）", events,
                            dtstamp);
}

std::string lifeKindsJson() {
    nlohmann::ordered_json kinds = nlohmann::ordered_json::array();
    for (int k = 0; k < lifeevents::kKindCount; ++k) {
        const auto kind = static_cast<lifeevents::Kind>(k);
        const lifeevents::Input input = lifeevents::inputOf(kind);
        const char* key = "birthday";
        const char* label = "誕生日";
        switch (input) {
        case lifeevents::Input::Birthday:
            break;
        case lifeevents::Input::DueDate:
            key = "due";
            label = "出産予定日";
            break;
        case lifeevents::Input::DeathDay:
            key = "death";
            label = "命日";
            break;
        case lifeevents::Input::Year:
            key = "year";
            label = "";
            break;
        case lifeevents::Input::BirthdayOrYear:
            key = "birthdayOrYear";
            break;
        }
        kinds.push_back({{"name", lifeevents::kindName(kind)},
                         {"key", lifeevents::kindKey(kind)},
                         {"input", key},
                         {"dateLabel", label},
                         {"takesYear", lifeevents::takesYear(kind)},
                         {"needsSex", lifeevents::needsSex(kind)}});
    }
    return nlohmann::ordered_json{{"kinds", kinds}}.dump() + "\n";
}

} // namespace sorvane::exports
