#include "export/notes_document.h"

#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace sorvane::exports {

namespace {

constexpr std::array<const char*, 7> kWeekdays{"日", "月", "火", "水", "木", "金", "土"};

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) {
        out += (out.empty() ? "" : "、") + item;
    }
    return out.empty() ? "-" : out;
}

std::vector<std::string> senjitsuNames(const notes::DayNotes& d) {
    std::vector<std::string> names;
    for (const notes::Senjitsu s : d.senjitsu) {
        names.emplace_back(notes::senjitsuName(s));
    }
    return names;
}

std::vector<std::string> gedanNames(const notes::DayNotes& d) {
    std::vector<std::string> names;
    for (const notes::Gedan g : d.gedan) {
        names.emplace_back(notes::gedanName(g));
    }
    return names;
}

std::string moonAgeText(double age) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", age);
    return buf;
}

} // namespace

std::string notesReport(const notes::YearNotes& notes) {
    std::string out;
    for (const notes::DayNotes& d : notes.days) {
        std::vector<std::string> last;
        if (d.kouBegins) {
            last.emplace_back(notes::kouName(d.kou));
        }
        last.insert(last.end(), d.festivals.begin(), d.festivals.end());
        out += isoDateText(d.date) + "\t" + kWeekdays.at(static_cast<std::size_t>(d.weekday - 1)) +
               "\t" + notes::sexagenaryName(d.monthSexagenary) + "\t" +
               notes::sexagenaryName(d.sexagenary) + "\t" + notes::chokuName(d.choku) + "\t" +
               notes::shukuName(d.shuku) + "\t" + notes::kyuseiName(d.kyusei) + "\t" +
               joined(senjitsuNames(d)) + "\t" + (d.moonAge ? moonAgeText(*d.moonAge) : "-") +
               "\t" + joined(last) + "\t" + joined(gedanNames(d)) + "\t" +
               (d.shio ? notes::shioName(*d.shio) : "-") + "\n";
    }
    return out;
}

std::string notesJson(const notes::YearNotes& notes) {
    using nlohmann::ordered_json;
    ordered_json doc;
    doc["year"] = notes.year;
    doc["yearKyusei"] = notes::kyuseiName(notes.yearKyusei);
    doc["eho"] = notes.eho;
    ordered_json days = ordered_json::array();
    for (const notes::DayNotes& d : notes.days) {
        ordered_json day;
        day["date"] = isoDateText(d.date);
        day["monthSexagenary"] = notes::sexagenaryName(d.monthSexagenary);
        day["daySexagenary"] = notes::sexagenaryName(d.sexagenary);
        day["choku"] = notes::chokuName(d.choku);
        day["shuku"] = notes::shukuName(d.shuku);
        day["kyusei"] = notes::kyuseiName(d.kyusei);
        day["monthKyusei"] = notes::kyuseiName(d.monthKyusei);
        day["senjitsu"] = senjitsuNames(d);
        // One decimal, as the text prints it.
        day["moonAge"] =
            d.moonAge ? ordered_json(std::stod(moonAgeText(*d.moonAge))) : ordered_json(nullptr);
        day["kou"] = d.kouBegins ? ordered_json(notes::kouName(d.kou)) : ordered_json(nullptr);
        day["festivals"] = d.festivals;
        day["gedan"] = gedanNames(d);
        day["shio"] = d.shio ? ordered_json(notes::shioName(*d.shio)) : ordered_json(nullptr);
        days.push_back(day);
    }
    doc["days"] = days;
    return doc.dump(2) + "\n";
}

} // namespace sorvane::exports
