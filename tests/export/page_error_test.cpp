// The web page's refusals (export/page_error.h) and its calendar-file requests
// (export/page_files.h). A user reads every message: it must be Japanese, name what to change
// and quote the user's text only as 「…」; a script reads the code and the field, which must
// not collide. The command lines are the ones the terminal program's manual page
// (doc/sorvane-cli.1) documents for each file: `YEAR --ics -`, `YEAR --notes --ics -`,
// `--find Q --from D --to D --ics -`, `--feed KIND --from Y --to Y`, `--life KIND ... --ics -`.
#include "almanac/days.h"
#include "daysearch/query.h"
#include "export/page_error.h"
#include "export/page_files.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace sorvane::exports {
namespace {

using nlohmann::json;

// A run of three Latin letters or an option's "--": English a user should not meet.
bool readsAsEnglish(const std::string& text) {
    static const std::regex english("[A-Za-z]{3,}|--");
    return std::regex_search(text, english);
}

// The fields the page's views have inputs for.
const std::set<std::string> kFields = {"",     "year", "date",   "place", "latitude", "query",
                                       "from", "to",   "wareki", "kind",  "sex",      "feed"};

TEST(PageError, EveryProblemHasItsOwnCodeAFieldAndAJapaneseMessage) {
    struct Row {
        PageProblem problem;
        std::string detail;
        std::string code, field;
        std::string says; // a part of the message: what to change, or the user's text
    };
    const std::vector<Row> rows = {
        {PageProblem::NoTables, "", "no-tables", "", "開き直して"},
        {PageProblem::OutOfMemory, "", "out-of-memory", "", "期間を短く"},
        {PageProblem::CalculationFailed, "表", "calculation-failed", "", "開き直して"},
        {PageProblem::MonthOutside, "", "month-outside", "year", "-32768〜32767年"},
        {PageProblem::NoSuchDay, "", "no-such-day", "date", "日付を選んで"},
        {PageProblem::YearOutside, "", "year-outside", "year", "紀元前501年は -500"},
        {PageProblem::PlaceTooLong, "", "place-too-long", "place", "256バイト"},
        {PageProblem::UnknownPlace, "大坂", "unknown-place", "place", "「大坂」"},
        {PageProblem::BadObserver, "", "bad-observer", "latitude", "-90〜90"},
        {PageProblem::QueryTooLong, "", "query-too-long", "query", "1000文字"},
        {PageProblem::QueryEmpty, "条件を選んでください。", "query-empty", "query", "条件を選んで"},
        {PageProblem::QueryTwoKinds, "種類を付けて", "query-two-kinds", "query", "種類を付けて"},
        {PageProblem::QueryUnknownName, "名前", "query-unknown-name", "query", "名前"},
        {PageProblem::QueryUnreadable, "読めません", "query-unreadable", "query", "読めません"},
        {PageProblem::RangeDateTooLong, "", "range-date-too-long", "from", "2027-01-01"},
        {PageProblem::FromUnreadable, "2026/01/01", "from-unreadable", "from", "「2026/01/01」"},
        {PageProblem::ToUnreadable, "明日", "to-unreadable", "to", "「まで」の「明日」"},
        {PageProblem::RangeReversed, "", "range-reversed", "to", "「から」以降"},
        {PageProblem::WarekiTooLong, "", "wareki-too-long", "wareki", "元禄15年12月14日"},
        {PageProblem::WarekiUnreadable, "閏月はありません", "wareki-unreadable", "wareki", "閏月"},
        {PageProblem::LifeTooLong, "", "life-too-long", "date", "2026-04-04"},
        {PageProblem::LifeUnknownKind, "結納", "life-unknown-kind", "kind", "「結納」"},
        {PageProblem::LifeBadToday, "", "life-bad-today", "", "端末の日付"},
        {PageProblem::LifeBadDate, "4月", "life-bad-date", "date", "「4月」"},
        {PageProblem::LifeBadYear, "令和", "life-bad-year", "year", "「令和」"},
        {PageProblem::FileYearUnreadable, "abc", "file-year-unreadable", "year", "数字で"},
        {PageProblem::FileYearOutside, "10000", "file-year-outside", "year", "1〜9999年"},
        {PageProblem::NotesYearOutside, "9000", "notes-year-outside", "year", "〜8455年"},
        {PageProblem::FileRangeOutside, "", "file-range-outside", "from", "1〜9999年"},
        {PageProblem::FeedUnknown, "tide", "feed-unknown", "feed", "「tide」"},
        {PageProblem::FeedFromUnreadable, "x", "feed-from-unreadable", "from", "「から」"},
        {PageProblem::FeedToUnreadable, "x", "feed-to-unreadable", "to", "「まで」"},
        {PageProblem::FeedReversed, "", "feed-reversed", "to", "「から」の年以降"},
        // The holidays feed: the law of 1948 to the last year the equinoxes are given.
        {PageProblem::FeedYearsOutside, "holidays", "feed-years-outside", "from", "祝日は1948〜"},
        {PageProblem::FileNothingFound, "", "file-nothing-found", "query", "条件か期間を変えて"},
        {PageProblem::FileUnknown, "pdf", "file-unknown", "", "作れません"},
        {PageProblem::FileBadData, "", "file-bad-data", "", "開き直して"},
        {PageProblem::FileRefused, "", "file-refused", "", "条件を変えて"},
        {PageProblem::FileNotWritten, "", "file-not-written", "", "もう一度"},
    };
    std::set<std::string> codes;
    for (const Row& r : rows) {
        const PageError e = pageError(r.problem, r.detail);
        SCOPED_TRACE(r.code);
        EXPECT_EQ(e.code, r.code);
        EXPECT_EQ(e.field, r.field);
        EXPECT_TRUE(kFields.count(e.field)) << e.field;
        EXPECT_NE(e.message.find(r.says), std::string::npos) << e.message;
        // A detail the user typed (tide, pdf, abc) is quoted; nothing else is English.
        std::string unquoted = e.message;
        if (const std::size_t at = unquoted.find("「" + r.detail + "」");
            !r.detail.empty() && at != std::string::npos) {
            unquoted.erase(at, r.detail.size() + 6);
        }
        EXPECT_FALSE(readsAsEnglish(unquoted)) << e.message;
        EXPECT_EQ(e.message.substr(e.message.size() - 3), "。") << e.message;
        EXPECT_TRUE(codes.insert(e.code).second) << "a second " << e.code;
        const json doc = json::parse(pageErrorJson(e));
        EXPECT_EQ(doc.at("error"), e.message);
        EXPECT_EQ(doc.at("code"), e.code);
        EXPECT_EQ(doc.at("field"), e.field);
    }
    // Every problem has its row: the last one's value counts them.
    EXPECT_EQ(rows.size(), static_cast<std::size_t>(PageProblem::FileNotWritten) + 1);
}

TEST(PageError, QueriesAndPlansAreRefusedByWhatIsWrong) {
    const daysearch::Vocabulary vocabulary;
    struct QueryRow {
        std::string query, code, says;
    };
    const std::vector<QueryRow> queries = {
        {"", "query-empty", "条件を選ぶか"},
        {"大按", "query-unknown-name", "「大按」という名前はありません。"},
        {"六曜:大按", "query-unknown-name", "という名前はありません"},
        {"危", "query-two-kinds", "十二直:危"},
        {"大安||仏滅", "query-unreadable", "読めません"},
        {"-", "query-unreadable", "読めません"},
    };
    for (const QueryRow& r : queries) {
        SCOPED_TRACE(r.query);
        try {
            daysearch::parseQuery(r.query, vocabulary);
            ADD_FAILURE() << "read";
        } catch (const daysearch::QueryError& e) {
            const PageError error = queryError(e);
            EXPECT_EQ(error.code, r.code);
            EXPECT_EQ(error.field, "query");
            EXPECT_NE(error.message.find(r.says), std::string::npos) << error.message;
        }
    }
    using lifeevents::Status;
    struct LifeRow {
        Status status;
        bool byYear;
        std::string code, field;
    };
    const std::vector<LifeRow> plans = {
        {Status::ImpossibleDate, false, "life-impossible-date", "date"},
        {Status::DueTooFar, false, "life-due-too-far", "date"},
        {Status::DeathInFuture, false, "life-death-in-future", "date"},
        {Status::NeedsSex, false, "life-needs-sex", "sex"},
        {Status::OutsideSpan, false, "life-outside-span", "date"},
        {Status::OutsideSpan, true, "life-outside-span", "year"},
        {Status::NeedsDate, true, "life-needs-date", "date"},
        {Status::NeedsYear, false, "life-needs-year", "year"},
    };
    for (const LifeRow& r : plans) {
        // The rules' message as the terminal program gets it: a missing field is named by
        // its option there (lifeevents' plan), which the page must not show.
        const bool missing = r.status == Status::NeedsSex || r.status == Status::NeedsDate ||
                             r.status == Status::NeedsYear;
        const PageError e = lifeError(r.status,
                                      lifeevents::statusMessage(r.status) +
                                          (missing ? "（--date YYYY-MM-DD）" : ""),
                                      r.byYear);
        EXPECT_EQ(e.code, r.code);
        EXPECT_EQ(e.field, r.field) << r.code;
        EXPECT_FALSE(readsAsEnglish(e.message)) << e.message;
    }
    // The terminal program's exit statuses (its manual page: 1 data, 2 usage, 3 output).
    const std::vector<std::pair<int, std::string>> outcomes = {{1, "file-bad-data"},
                                                               {2, "file-refused"},
                                                               {3, "file-not-written"},
                                                               {134, "file-not-written"}};
    for (const auto& [status, code] : outcomes) {
        EXPECT_EQ(json::parse(fileOutcomeJson(status, 100)).at("code"), code) << status;
    }
    EXPECT_EQ(json::parse(fileOutcomeJson(0, 0)).at("code"), "file-nothing-found");
    EXPECT_EQ(json::parse(fileOutcomeJson(0, 100)).at("ok"), true);
}

TEST(PageFiles, RequestsBecomeTheProgramsCommandLinesOrRefusals) {
    const daysearch::Vocabulary vocabulary;
    const almanac::Days days(testing::shippedTables(), almanac::Minutes::Observatory);
    struct Row {
        json request;
        std::vector<std::string> args; // empty: refused with code
        std::string name, code, field;
    };
    const std::vector<Row> rows = {
        {{{"file", "year"}, {"year", "2026"}}, {"2026", "--ics", "-"}, "sorvane-2026.ics", "", ""},
        {{{"file", "notes"}, {"year", "2026"}},
         {"2026", "--notes", "--ics", "-"},
         "sorvane-senjitsu-2026.ics",
         "",
         ""},
        {{{"file", "year"}, {"year", "abc"}}, {}, "", "file-year-unreadable", "year"},
        {{{"file", "year"}, {"year", ""}}, {}, "", "file-year-unreadable", "year"},
        {{{"file", "year"}, {"year", "0"}}, {}, "", "file-year-outside", "year"},
        {{{"file", "year"}, {"year", "99999"}}, {}, "", "file-year-outside", "year"},
        {{{"file", "year"}, {"year", "2026年"}}, {}, "", "file-year-unreadable", "year"},
        {{{"file", "notes"}, {"year", "9000"}}, {}, "", "notes-year-outside", "year"},
        {{{"file", "find"}, {"query", "大安"}, {"from", "2026-01-01"}, {"to", "2026-12-31"}},
         {"--find", "大安", "--from", "2026-01-01", "--to", "2026-12-31", "--ics", "-"},
         "大安の日.ics",
         "",
         ""},
        {{{"file", "find"}, {"query", "結婚"}, {"from", "2026-01-01"}, {"to", "2026-12-31"}},
         {},
         "",
         "query-unknown-name",
         "query"},
        {{{"file", "find"}, {"query", "大安"}, {"from", "9999-12-01"}, {"to", "10000-01-31"}},
         {},
         "",
         "file-range-outside",
         "from"},
        {{{"file", "feed"}, {"feed", "rokuyo"}, {"from", "2025"}, {"to", "2029"}},
         {"--feed", "rokuyo", "--from", "2025", "--to", "2029"},
         "sorvane-rokuyo.ics",
         "",
         ""},
        {{{"file", "feed"}, {"feed", "holidays"}, {"from", "2026"}, {"to", "2025"}},
         {},
         "",
         "feed-reversed",
         "to"},
        {{{"file", "feed"}, {"feed", "holidays"}, {"from", "1800"}, {"to", "1801"}},
         {},
         "",
         "feed-years-outside",
         "from"},
        {{{"file", "feed"}, {"feed", "tide"}, {"from", "2026"}, {"to", "2026"}},
         {},
         "",
         "feed-unknown",
         "feed"},
        {{{"file", "life"},
          {"kind", "お宮参り"},
          {"date", "2026-04-04"},
          {"sex", "男"},
          {"today", "2026-04-05"}},
         {"--life", "お宮参り", "--date", "2026-04-04", "--sex", "男", "--today", "2026-04-05",
          "--ics", "-"},
         "お宮参り（2026-04-04）.ics",
         "",
         ""},
        {{{"file", "life"}, {"kind", "法要"}, {"date", "2027-01-01"}, {"today", "2026-04-05"}},
         {},
         "",
         "life-death-in-future",
         "date"},
        {{{"file", "life"}, {"kind", "結納"}, {"today", "2026-04-05"}},
         {},
         "",
         "life-unknown-kind",
         "kind"},
        {{{"file", "pdf"}}, {}, "", "file-unknown", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.request.dump());
        const json doc = json::parse(pageFileJson(r.request.dump(), vocabulary, days));
        if (r.args.empty()) {
            EXPECT_EQ(doc.value("code", ""), r.code) << doc.dump();
            EXPECT_EQ(doc.value("field", "?"), r.field) << doc.dump();
            EXPECT_FALSE(readsAsEnglish(doc.value("error", "")) &&
                         doc.value("error", "").find("「") == std::string::npos)
                << doc.dump();
            continue;
        }
        EXPECT_EQ(doc.value("args", std::vector<std::string>{}), r.args) << doc.dump();
        EXPECT_EQ(doc.value("name", ""), r.name);
    }
    // Not a request at all.
    EXPECT_EQ(json::parse(pageFileJson("{", vocabulary, days)).at("code"), "file-unknown");
}

} // namespace
} // namespace sorvane::exports
