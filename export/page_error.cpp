#include "export/page_error.h"

#include "almanac/coverage.h"
#include "calendar/year_text.h"
#include "export/feed.h"
#include "export/page_document.h"
#include "export/search_text.h"

#include <nlohmann/json.hpp>

namespace sorvane::exports {

namespace {

std::string span(almanac::Source source) {
    const almanac::YearSpan years = almanac::coverage(source);
    return std::to_string(years.first) + "〜" + std::to_string(years.last) + "年";
}

// How a year of the calendar is written in a year box, for a message that asks for one.
constexpr const char* kBeforeYearOne = "紀元前1年は 0、紀元前501年は -500";

struct Known {
    const char* code;
    const char* field;
};

Known known(PageProblem problem) {
    switch (problem) {
    case PageProblem::NoTables:
        return {"no-tables", ""};
    case PageProblem::OutOfMemory:
        return {"out-of-memory", ""};
    case PageProblem::CalculationFailed:
        return {"calculation-failed", ""};
    case PageProblem::MonthOutside:
        return {"month-outside", "year"};
    case PageProblem::NoSuchDay:
        return {"no-such-day", "date"};
    case PageProblem::YearOutside:
        return {"year-outside", "year"};
    case PageProblem::PlaceTooLong:
        return {"place-too-long", "place"};
    case PageProblem::UnknownPlace:
        return {"unknown-place", "place"};
    case PageProblem::BadObserver:
        return {"bad-observer", "latitude"};
    case PageProblem::QueryTooLong:
        return {"query-too-long", "query"};
    case PageProblem::QueryEmpty:
        return {"query-empty", "query"};
    case PageProblem::QueryTwoKinds:
        return {"query-two-kinds", "query"};
    case PageProblem::QueryUnknownName:
        return {"query-unknown-name", "query"};
    case PageProblem::QueryUnreadable:
        return {"query-unreadable", "query"};
    case PageProblem::RangeDateTooLong:
        return {"range-date-too-long", "from"};
    case PageProblem::FromUnreadable:
        return {"from-unreadable", "from"};
    case PageProblem::ToUnreadable:
        return {"to-unreadable", "to"};
    case PageProblem::RangeReversed:
        return {"range-reversed", "to"};
    case PageProblem::WarekiTooLong:
        return {"wareki-too-long", "wareki"};
    case PageProblem::WarekiUnreadable:
        return {"wareki-unreadable", "wareki"};
    case PageProblem::LifeTooLong:
        return {"life-too-long", "date"};
    case PageProblem::LifeUnknownKind:
        return {"life-unknown-kind", "kind"};
    case PageProblem::LifeBadToday:
        return {"life-bad-today", ""};
    case PageProblem::LifeBadDate:
        return {"life-bad-date", "date"};
    case PageProblem::LifeBadYear:
        return {"life-bad-year", "year"};
    case PageProblem::FileYearUnreadable:
        return {"file-year-unreadable", "year"};
    case PageProblem::FileYearOutside:
        return {"file-year-outside", "year"};
    case PageProblem::NotesYearOutside:
        return {"notes-year-outside", "year"};
    case PageProblem::FileRangeOutside:
        return {"file-range-outside", "from"};
    case PageProblem::FeedUnknown:
        return {"feed-unknown", "feed"};
    case PageProblem::FeedFromUnreadable:
        return {"feed-from-unreadable", "from"};
    case PageProblem::FeedToUnreadable:
        return {"feed-to-unreadable", "to"};
    case PageProblem::FeedReversed:
        return {"feed-reversed", "to"};
    case PageProblem::FeedYearsOutside:
        return {"feed-years-outside", "from"};
    case PageProblem::FileNothingFound:
        return {"file-nothing-found", "query"};
    case PageProblem::FileUnknown:
        return {"file-unknown", ""};
    case PageProblem::FileBadData:
        return {"file-bad-data", ""};
    case PageProblem::FileRefused:
        return {"file-refused", ""};
    case PageProblem::FileNotWritten:
        return {"file-not-written", ""};
    }
    return {"calculation-failed", ""};
}

// A sentence as the page shows it: closed with 。.
std::string sentence(std::string text) {
    const std::string stop = "。";
    if (text.size() < stop.size() ||
        text.compare(text.size() - stop.size(), stop.size(), stop) != 0) {
        text += stop;
    }
    return text;
}

std::string message(PageProblem problem, std::string_view detail) {
    const std::string quoted = quotedInput(detail);
    const std::string d(detail);
    switch (problem) {
    case PageProblem::NoTables:
        return "暦の表を読み込めていません。ページを開き直してください。";
    case PageProblem::OutOfMemory:
        return "メモリが足りず計算できませんでした。期間を短くするか、ページを開き直してください。";
    case PageProblem::CalculationFailed:
        return "計算できませんでした（" + d + "）。ページを開き直してください。";
    case PageProblem::MonthOutside:
        return "年は" + span(almanac::Source::Year) + "、月は1〜12月の間で選んでください（" +
               kBeforeYearOne + "）。";
    case PageProblem::NoSuchDay:
        return "その日は暦にありません。" + span(almanac::Source::Year) +
               "の間の、ある日付を選んでください。";
    case PageProblem::YearOutside:
        return "年は" + span(almanac::Source::Year) + "の間で入れてください（" + kBeforeYearOne +
               "）。";
    case PageProblem::PlaceTooLong:
        return "地名が長すぎます（" + std::to_string(kMaxPlaceNameBytes) +
               "バイトまで）。一覧から場所を選んでください。";
    case PageProblem::UnknownPlace:
        return quoted +
               "という地名はありません。一覧から場所を選ぶか、緯度と経度を入れてください。";
    case PageProblem::BadObserver:
        return "緯度は-90〜90、経度は-180〜180の間で入れてください。";
    case PageProblem::QueryTooLong:
        return "条件が長すぎます（" + std::to_string(kMaxQueryCharacters) +
               "文字まで）。条件を短くしてください。";
    case PageProblem::QueryEmpty:
    case PageProblem::QueryTwoKinds:
    case PageProblem::QueryUnknownName:
    case PageProblem::QueryUnreadable:
        return sentence(d);
    case PageProblem::RangeDateTooLong:
        return "期間の日付が長すぎます。「から」と「まで」を 2027-01-01 のように入れてください。";
    case PageProblem::FromUnreadable:
        return "「から」の" + quoted + "は日付として読めません。2027-01-01 のように、" +
               span(almanac::Source::Year) + "の日付を入れてください。";
    case PageProblem::ToUnreadable:
        return "「まで」の" + quoted + "は日付として読めません。2027-01-01 のように、" +
               span(almanac::Source::Year) + "の日付を入れてください。";
    case PageProblem::RangeReversed:
        return "期間の「まで」が「から」より前です。「まで」を「から」以降の日にしてください。";
    case PageProblem::WarekiTooLong:
        return "日付が長すぎます（200バイトまで）。元禄15年12月14日 や 1703-01-30 "
               "のように入れてください。";
    case PageProblem::WarekiUnreadable:
        return sentence(d);
    case PageProblem::LifeTooLong:
        return "入力が長すぎます。日付は 2026-04-04 のように、年は数字で入れてください。";
    case PageProblem::LifeUnknownKind:
        return quoted + "という行事はありません。一覧から行事を選んでください。";
    case PageProblem::LifeBadToday:
        return "今日の日付が読めません。端末の日付を確かめてから、ページを開き直してください。";
    case PageProblem::LifeBadDate:
        return "日付" + quoted +
               "が正しくありません。2026-04-04 のように、ある日付を入れてください。";
    case PageProblem::LifeBadYear:
        return "年" + quoted + "が正しくありません。" + span(almanac::Source::Year) +
               "の間の数字で入れてください。";
    case PageProblem::FileYearUnreadable:
        return "年" + quoted + "を読めません。2026 のように数字で入れてください（" +
               kBeforeYearOne + "）。";
    case PageProblem::FileYearOutside:
        return "カレンダーファイルに書き出せるのは" + span(almanac::Source::ICalendar) + "です（" +
               d + "年は書き出せません）。年を変えてください。";
    case PageProblem::NotesYearOutside:
        return "選日のカレンダーファイルは" + span(almanac::Source::Notes) +
               "の間で書き出せます（" + d + "年は書き出せません）。年を変えてください。";
    case PageProblem::FileRangeOutside:
        return "カレンダーファイルに書き出せるのは" + span(almanac::Source::ICalendar) +
               "の日です。期間をその間にしてください。";
    case PageProblem::FeedUnknown:
        return quoted + "という購読用カレンダーはありません。";
    case PageProblem::FeedFromUnreadable:
        return "「から」の年" + quoted + "を読めません。2026 のように数字で入れてください。";
    case PageProblem::FeedToUnreadable:
        return "「まで」の年" + quoted + "を読めません。2026 のように数字で入れてください。";
    case PageProblem::FeedReversed:
        return "「まで」の年が「から」の年より前です。「まで」を「から」の年以降にしてください。";
    case PageProblem::FeedYearsOutside: {
        const std::optional<FeedKind> kind = feedKindOfKey(detail);
        if (!kind) {
            return quoted + "という購読用カレンダーはありません。";
        }
        std::string name = feedName(*kind);
        if (const std::size_t cut = name.find("（"); cut != std::string::npos) {
            name.resize(cut);
        }
        const almanac::YearSpan years = feedYears(*kind);
        return name + "は" + std::to_string(years.first) + "〜" + std::to_string(years.last) +
               "年の間で「から」と「まで」を選んでください。";
    }
    case PageProblem::FileNothingFound:
        return "条件に合う日がないため、カレンダーファイルは書き出しませんでした。"
               "条件か期間を変えてください。";
    case PageProblem::FileUnknown:
        return quoted + "というカレンダーファイルは作れません。";
    case PageProblem::FileBadData:
        return "暦のデータを読めず、カレンダーファイルを書き出せませんでした。"
               "ページを開き直してください。";
    case PageProblem::FileRefused:
        return "この条件ではカレンダーファイルを書き出せませんでした。条件を変えてください。";
    case PageProblem::FileNotWritten:
        return "カレンダーファイルを書き出せませんでした。もう一度試すか、"
               "期間を短くしてください。";
    }
    return d;
}

} // namespace

PageError pageError(PageProblem problem, std::string_view detail) {
    const Known k = known(problem);
    return PageError{k.code, k.field, message(problem, detail)};
}

PageError queryError(const daysearch::QueryError& error) {
    switch (error.problem()) {
    case daysearch::QueryProblem::Empty:
        return pageError(PageProblem::QueryEmpty, queryRefusal(error));
    case daysearch::QueryProblem::TwoKinds:
        return pageError(PageProblem::QueryTwoKinds, queryRefusal(error));
    case daysearch::QueryProblem::UnknownName:
        return pageError(PageProblem::QueryUnknownName, queryRefusal(error));
    case daysearch::QueryProblem::Unreadable:
        break;
    }
    return pageError(PageProblem::QueryUnreadable, queryRefusal(error));
}

PageError lifeError(lifeevents::Status status, const std::string& message, bool byYear) {
    using lifeevents::Status;
    const char* code = "life-refused";
    const char* field = byYear ? "year" : "date";
    // The rules' message, but where it names the terminal program's option (--date
    // YYYY-MM-DD) the page's own field instead.
    std::string said = sentence(message);
    switch (status) {
    case Status::Ok:
        break;
    case Status::ImpossibleDate:
        code = "life-impossible-date";
        field = "date";
        break;
    case Status::DueTooFar:
        code = "life-due-too-far";
        field = "date";
        break;
    case Status::DeathInFuture:
        code = "life-death-in-future";
        field = "date";
        break;
    case Status::NeedsSex:
        code = "life-needs-sex";
        field = "sex";
        said = sentence(lifeevents::statusMessage(status)) + "男か女を選んでください。";
        break;
    case Status::OutsideSpan:
        code = "life-outside-span";
        break;
    case Status::NeedsDate:
        code = "life-needs-date";
        field = "date";
        said = sentence(lifeevents::statusMessage(status)) +
               "日付を 2026-04-04 のように入れてください。";
        break;
    case Status::NeedsYear:
        code = "life-needs-year";
        field = "year";
        said = sentence(lifeevents::statusMessage(status)) + "年を数字で入れてください。";
        break;
    }
    return PageError{code, field, said};
}

PageError fileFailure(int status) {
    switch (status) {
    case 1:
        return pageError(PageProblem::FileBadData);
    case 2:
        return pageError(PageProblem::FileRefused);
    default:
        return pageError(PageProblem::FileNotWritten);
    }
}

std::string pageErrorJson(const PageError& error) {
    const nlohmann::ordered_json doc{
        {"error", error.message}, {"code", error.code}, {"field", error.field}};
    // A message that quotes the user's text: bytes that are not UTF-8 (a lone surrogate from
    // the page's JavaScript) are written as U+FFFD instead of failing the document.
    return doc.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace sorvane::exports
