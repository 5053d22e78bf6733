// The terminal program's --find: its arguments, its three outputs and its refusals.
#include "cli/options.h"
#include "support/test_support.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sorvane::cli {
namespace {

// The largest resident size of the terminal program run with args (output to /dev/null),
// kilobytes; -1 when it did not end with status 0.
long maxResidentKb(std::vector<std::string> args) {
    const std::string program = testing::cliProgram();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1;
    }
    return usage.ru_maxrss;
}

TEST(FindOptions, RangeDefaultsAndRefusals) {
    const Options o = parseArguments({"--find", "大安"}, 2026, CivilDate{2026, 2, 10});
    EXPECT_EQ(o.from, (CivilDate{2026, 2, 10}));
    // The default range is a year: to the day before the same date a year later.
    EXPECT_EQ(o.to, (CivilDate{2027, 2, 9}));
    EXPECT_EQ(parseArguments({"--find", "大安", "--from", "2024-02-29"}, 2026).to,
              (CivilDate{2025, 2, 28}));
    // A query may begin with a negated word, a date with a year before 1.
    EXPECT_EQ(parseArguments({"--find", "-仏滅 日"}, 2026).find->words.front().text, "-仏滅");
    EXPECT_EQ(parseArguments({"--find", "大安", "--from", "-0500-03-01"}, 2026).from.year, -500);
    // Each bad argument is refused with its own name in the message.
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{"--find", "大安", "--from", "2026-02-30"}, "2026-02-30"},
        {{"--find", "大安", "--to", "2026-1-01"}, "2026-1-01"},
        {{"--find", "大安", "--from", "2026-05-01", "--to", "2026-04-30"}, "2026-04-30"},
        {{"--from", "2026-01-01"}, "--find"},
        {{"--find", "--json"}, "--json"},
        {{"--find", "大安", "2026"}, "year"},
        {{"--find", "大安", "--days"}, "--days"},
        {{"--find", "大安", "--sun"}, "--sun"},
        {{"--find", "大安", "--lat", "35"}, "--lat"},
        {{"--find", "仏滅|危"}, "十二直:危"},
        {{"--find", "大安", "--ics", "x.ics", "--from", "0000-12-01"}, "1..9999"},
        // A long word is cut in the message, which keeps its reason.
        {{"--find", "十二直:" + std::string(1500, 'x')}, ": no 十二直 is named \"xxx"},
    };
    for (const auto& [args, named] : bad) {
        try {
            parseArguments(args, 2026);
            ADD_FAILURE() << args.back() << " accepted";
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(named), std::string::npos) << e.what();
        }
    }
}

TEST(FindCli, ListsJsonAndCalendarAgree) {
    const std::string range = " --from 2026-01-01 --to 2026-12-31";
    const auto text = testing::runCli("--find '天赦日 一粒万倍日'" + range);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(testing::lines(text.out),
              (std::vector<std::string>{
                  "2026-03-05\t木\t天赦日\t一粒万倍日", "2026-07-19\t日\t天赦日\t一粒万倍日",
                  "2026-10-01\t木\t天赦日\t一粒万倍日", "2026-12-16\t水\t天赦日\t一粒万倍日"}));

    const std::filesystem::path ics =
        std::filesystem::temp_directory_path() / "sorvane-find-test.ics";
    const auto json =
        testing::runCli("--find '天赦日 一粒万倍日' --json --ics " + ics.string() + range);
    ASSERT_EQ(json.status, 0) << json.err;
    const auto doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc["count"], 4);
    EXPECT_EQ(doc["days"][2]["date"], "2026-10-01");
    EXPECT_EQ(doc["days"][2]["notes"], (std::vector<std::string>{"天赦日", "一粒万倍日"}));
    std::ifstream in(ics);
    std::stringstream file;
    file << in.rdbuf();
    std::filesystem::remove(ics);
    EXPECT_NE(file.str().find("DTSTART;VALUE=DATE:20261001"), std::string::npos);
    EXPECT_NE(file.str().find("SUMMARY:候補日：天赦日・一粒万倍日"), std::string::npos);
    EXPECT_NE(file.str().find("X-WR-CALNAME:天赦日、一粒万倍日の日"), std::string::npos);
}

// What the page prints and what people type lists what the names list, line for line.
TEST(FindCli, PrintedAndTypedFormsListWhatTheNamesList) {
    const std::string range = " --from 2026-01-01 --to 2027-12-31";
    const std::pair<const char*, const char*> pairs[] = {
        {"一粒万倍", "一粒万倍日"}, {"天赦", "天赦日"},          {"土曜", "土"},
        {"土曜日", "土"},           {"大安｜友引", "大安|友引"}, {"寅", "寅の日"},
    };
    for (const auto& [typed, name] : pairs) {
        SCOPED_TRACE(typed);
        const auto a = testing::runCli(std::string("--find '") + typed + "'" + range);
        const auto b = testing::runCli(std::string("--find '") + name + "'" + range);
        ASSERT_EQ(a.status, 0) << a.err;
        EXPECT_FALSE(b.out.empty());
        EXPECT_EQ(a.out, b.out);
    }
    const auto date = testing::runCli("--find 旧3月15日" + range);
    ASSERT_EQ(date.status, 0) << date.err;
    EXPECT_EQ(testing::lines(date.out),
              (std::vector<std::string>{"2026-05-01\t金\t旧3月15日", "2027-04-21\t水\t旧3月15日"}));
}

TEST(FindCli, BadWordsAndUncoveredYears) {
    const auto ambiguous = testing::runCli("--find '大安 危'");
    EXPECT_EQ(ambiguous.status, 2);
    EXPECT_NE(ambiguous.err.find("二十八宿:危"), std::string::npos) << ambiguous.err;
    const auto unknown = testing::runCli("--find 吉日");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("\"吉日\""), std::string::npos) << unknown.err;

    // An unknown word names the nearest known one; a lunar date no month of the range
    // reaches is stated rather than left as an empty result.
    const auto near = testing::runCli("--find 一粒万培");
    EXPECT_EQ(near.status, 2);
    EXPECT_NE(near.err.find("unknown word \"一粒万培\" (did you mean 一粒万倍日?)"),
              std::string::npos)
        << near.err;
    const auto absent = testing::runCli("--find 旧2月30日 --from 2026-01-01 --to 2026-12-31");
    ASSERT_EQ(absent.status, 0) << absent.err;
    EXPECT_TRUE(absent.out.empty()) << absent.out;
    EXPECT_NE(absent.err.find("note: 旧2月30日 falls on no day from 2026-01-01 to 2026-12-31"),
              std::string::npos)
        << absent.err;

    // Past 2100 the 六曜 are not known: the days there cannot match, and a note says so.
    const auto past = testing::runCli("--find 大安 --from 2100-12-20 --to 2101-01-31");
    ASSERT_EQ(past.status, 0) << past.err;
    for (const std::string& line : testing::lines(past.out)) {
        EXPECT_EQ(line.substr(0, 4), "2100") << line;
    }
    EXPECT_FALSE(past.out.empty());
    EXPECT_NE(past.err.find("2101-01-01 to 2101-01-31"), std::string::npos) << past.err;
}

// The listing, the document and the calendar are written as the days are found: memory
// does not grow with the number of days (two thousand years of Saturdays, 104,000 days,
// took over 400 MB when the whole result was held).
TEST(FindCli, LongResultsAreWrittenAsFound) {
    const std::filesystem::path ics =
        std::filesystem::temp_directory_path() / "sorvane-find-long-test.ics";
    const long shortRun = maxResidentKb(
        {"--find", "土", "--from", "2001-01-01", "--to", "2020-12-31", "--json", "--ics", ics});
    const long longRun = maxResidentKb(
        {"--find", "土", "--from", "0001-01-01", "--to", "2000-12-31", "--json", "--ics", ics});
    const long textRun =
        maxResidentKb({"--find", "土", "--from", "0001-01-01", "--to", "2000-12-31"});
    ASSERT_GT(shortRun, 0);
    ASSERT_GT(longRun, 0);
    ASSERT_GT(textRun, 0);
    EXPECT_LT(longRun, shortRun + 16 * 1024) << shortRun << " KB, then " << longRun << " KB";
    EXPECT_LT(textRun, shortRun + 16 * 1024) << shortRun << " KB, then " << textRun << " KB";
    std::ifstream in(ics);
    std::string line;
    std::size_t events = 0;
    std::string last;
    while (std::getline(in, line)) {
        events += line.rfind("BEGIN:VEVENT", 0) == 0 ? 1 : 0;
        last = line;
    }
    std::filesystem::remove(ics);
    EXPECT_EQ(events, 104355u); // the Saturdays of 1..2000: 730,485 days, whole weeks
    EXPECT_EQ(last, "END:VCALENDAR\r");
}

// A search that finds no day writes no calendar (RFC 5545 wants at least one event) and
// says so; the listing and the document are still whole.
TEST(FindCli, NoDayWritesNoCalendar) {
    const std::filesystem::path ics =
        std::filesystem::temp_directory_path() / "sorvane-find-empty-test.ics";
    std::filesystem::remove(ics);
    const auto run = testing::runCli("--find 大安 --from 2101-01-01 --to 2101-01-05 --json --ics " +
                                     ics.string());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(std::filesystem::exists(ics));
    EXPECT_NE(run.err.find("no day fits the query, so no calendar was written"), std::string::npos)
        << run.err;
    const auto doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["count"], 0);
    EXPECT_TRUE(doc["days"].empty());
    const auto toStdout = testing::runCli("--find 大安 --from 2101-01-01 --to 2101-01-05 --ics -");
    EXPECT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, "");
}

// The last day of the years -32768..32767 a calendar file can hold, 9999-12-31 (a Friday, as
// every proleptic Gregorian table has it), is written like any other: the file, the listing
// and the document are whole.
TEST(FindCli, TheFormatsLastDayIsWrittenLikeAnyOther) {
    const std::filesystem::path ics =
        std::filesystem::temp_directory_path() / "sorvane-find-9999-test.ics";
    std::filesystem::remove(ics);
    const auto run =
        testing::runCli("--find 金 --from 9999-12-20 --to 9999-12-31 --json --ics " + ics.string());
    ASSERT_EQ(run.status, 0) << run.err;
    const auto doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["count"], 2); // 12-24 and 12-31
    std::ifstream in(ics, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::filesystem::remove(ics);
    EXPECT_NE(text.str().find("DTSTART;VALUE=DATE:99991231\r\nDURATION:P1D\r\n"), std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find("DTSTART;VALUE=DATE:99991224\r\nDTEND;VALUE=DATE:99991225\r\n"),
              std::string::npos);
}

} // namespace
} // namespace sorvane::cli
