#include "export/page_files.h"

#include "almanac/coverage.h"
#include "calendar/civil_date.h"
#include "calendar/typed_date.h"
#include "calendar/year_text.h"
#include "export/feed.h"
#include "export/page_document.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

namespace sorvane::exports {

namespace {

using nlohmann::ordered_json;

std::optional<CivilDate> wholeDate(std::string_view text) {
    const TypedDate typed = readTypedDate(text);
    return typed.whole() ? std::optional<CivilDate>(typed.date()) : std::nullopt;
}

std::optional<int> yearOf(std::string_view text) {
    try {
        return parseYearText(text);
    } catch (const YearTextError&) {
        return std::nullopt;
    }
}

// The request's text field key ("" when missing or not a text).
std::string field(const ordered_json& request, const char* key) {
    const auto it = request.find(key);
    return it != request.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::string fileJson(const std::vector<std::string>& args, const std::string& name) {
    return ordered_json{{"args", args}, {"name", name}}.dump(
               -1, ' ', false, ordered_json::error_handler_t::replace) +
           "\n";
}

std::string yearFile(const std::string& text, bool notes) {
    const std::optional<int> year = yearOf(text);
    if (!year) {
        // A whole number past any year the program takes is a year out of range all the same.
        const std::size_t sign = !text.empty() && text.front() == '-' ? 1 : 0;
        const bool number =
            text.size() > sign && text.find_first_not_of("0123456789", sign) == std::string::npos;
        return pageErrorJson(pageError(
            number ? PageProblem::FileYearOutside : PageProblem::FileYearUnreadable, text));
    }
    if (!almanac::covers(almanac::Source::ICalendar, *year)) {
        return pageErrorJson(pageError(PageProblem::FileYearOutside, printedYearText(*year)));
    }
    if (notes && !almanac::covers(almanac::Source::Notes, *year)) {
        return pageErrorJson(pageError(PageProblem::NotesYearOutside, printedYearText(*year)));
    }
    const std::string y = yearText(*year);
    return notes ? fileJson({y, "--notes", "--ics", "-"}, "sorvane-senjitsu-" + y + ".ics")
                 : fileJson({y, "--ics", "-"}, "sorvane-" + y + ".ics");
}

std::string findFile(const ordered_json& request, const daysearch::Vocabulary& vocabulary) {
    const std::string query = field(request, "query");
    const std::string from = field(request, "from");
    const std::string to = field(request, "to");
    std::variant<FindFields, PageError> read = readFindFields(vocabulary, query, from, to);
    if (const PageError* error = std::get_if<PageError>(&read)) {
        return pageErrorJson(*error);
    }
    const FindFields& fields = std::get<FindFields>(read);
    if (!almanac::covers(almanac::Source::ICalendar, fields.from.year) ||
        !almanac::covers(almanac::Source::ICalendar, fields.to.year)) {
        return pageErrorJson(pageError(PageProblem::FileRangeOutside));
    }
    return fileJson({"--find", query, "--from", isoDateText(fields.from), "--to",
                     isoDateText(fields.to), "--ics", "-"},
                    daysearch::queryInWords(fields.query) + ".ics");
}

std::string feedFile(const ordered_json& request) {
    const std::string key = field(request, "feed");
    const std::optional<FeedKind> kind = feedKindOfKey(key);
    if (!kind) {
        return pageErrorJson(pageError(PageProblem::FeedUnknown, key));
    }
    const std::string fromText = field(request, "from");
    const std::string toText = field(request, "to");
    const std::optional<int> from = yearOf(fromText);
    if (!from) {
        return pageErrorJson(pageError(PageProblem::FeedFromUnreadable, fromText));
    }
    const std::optional<int> to = yearOf(toText);
    if (!to) {
        return pageErrorJson(pageError(PageProblem::FeedToUnreadable, toText));
    }
    if (*to < *from) {
        return pageErrorJson(pageError(PageProblem::FeedReversed));
    }
    const almanac::YearSpan years = feedYears(*kind);
    if (!years.contains(*from) || !years.contains(*to)) {
        return pageErrorJson(pageError(PageProblem::FeedYearsOutside, key));
    }
    return fileJson({"--feed", key, "--from", yearText(*from), "--to", yearText(*to)},
                    "sorvane-" + key + ".ics");
}

std::string lifeFile(const ordered_json& request, const almanac::Days& days) {
    const std::string kind = field(request, "kind");
    const std::string date = field(request, "date");
    const std::string year = field(request, "year");
    const std::string sex = field(request, "sex");
    const std::string today = field(request, "today");
    std::variant<lifeevents::Request, PageError> read =
        readLifeFields(LifeFields{kind, date, year, sex, today});
    if (const PageError* error = std::get_if<PageError>(&read)) {
        return pageErrorJson(*error);
    }
    const lifeevents::Request& r = std::get<lifeevents::Request>(read);
    const lifeevents::Result result = lifeevents::plan(r, days);
    if (result.status != lifeevents::Status::Ok) {
        return pageErrorJson(lifeError(result.status, result.message, !r.date && r.year));
    }
    std::vector<std::string> args{"--life", lifeevents::kindName(r.kind)};
    if (r.date) {
        args.insert(args.end(), {"--date", isoDateText(*r.date)});
    }
    if (r.year) {
        args.insert(args.end(), {"--year", yearText(*r.year)});
    }
    if (r.sex != lifeevents::Sex::Unknown) {
        args.insert(args.end(), {"--sex", lifeevents::sexName(r.sex)});
    }
    args.insert(args.end(), {"--today", isoDateText(r.today), "--ics", "-"});
    const std::string on = r.date ? isoDateText(*r.date) : r.year ? yearText(*r.year) : "";
    return fileJson(args, std::string(lifeevents::kindName(r.kind)) + "（" + on + "）.ics");
}

} // namespace

std::variant<lifeevents::Request, PageError> readLifeFields(const LifeFields& fields) {
    lifeevents::Request request;
    const std::optional<lifeevents::Kind> kind = lifeevents::kindOfName(fields.kind);
    if (!kind) {
        return pageError(PageProblem::LifeUnknownKind, fields.kind);
    }
    request.kind = *kind;
    const std::optional<CivilDate> today = wholeDate(fields.today);
    if (!today) {
        return pageError(PageProblem::LifeBadToday);
    }
    request.today = *today;
    if (!fields.date.empty()) {
        request.date = wholeDate(fields.date);
        if (!request.date) {
            return pageError(PageProblem::LifeBadDate, fields.date);
        }
    }
    if (!fields.year.empty()) {
        const std::optional<int> year = yearOf(fields.year);
        if (!year) {
            return pageError(PageProblem::LifeBadYear, fields.year);
        }
        request.year = *year;
    }
    request.sex = lifeevents::sexOfName(fields.sex).value_or(lifeevents::Sex::Unknown);
    return request;
}

std::string pageFileJson(std::string_view text, const daysearch::Vocabulary& vocabulary,
                         const almanac::Days& days) {
    const ordered_json request = ordered_json::parse(text, nullptr, false);
    if (!request.is_object()) {
        return pageErrorJson(pageError(PageProblem::FileUnknown, text));
    }
    const std::string file = field(request, "file");
    if (file == "year" || file == "notes") {
        return yearFile(field(request, "year"), file == "notes");
    }
    if (file == "find") {
        return findFile(request, vocabulary);
    }
    if (file == "feed") {
        return feedFile(request);
    }
    if (file == "life") {
        return lifeFile(request, days);
    }
    return pageErrorJson(pageError(PageProblem::FileUnknown, file));
}

std::string fileOutcomeJson(int status, std::size_t bytes) {
    if (status == 0 && bytes > 0) {
        return "{\"ok\":true}\n";
    }
    return pageErrorJson(status == 0 ? pageError(PageProblem::FileNothingFound)
                                     : fileFailure(status));
}

} // namespace sorvane::exports
