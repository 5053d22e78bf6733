// The terminal program's --feed, run as a subscriber's host runs it.
#include "support/ics_reading.h"
#include "support/test_support.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace sorvane::testing {
namespace {

// Two years of 六曜: 730 whole days; the same bytes from a run a second later (no clock in the
// file) and in the --ics file, which replaces the old one.
TEST(FeedCli, RokuyoOfTwoYearsIsTheSameBytesEveryRun) {
    const CliRun first = runCli("--feed rokuyo --from 2026 --to 2027");
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    const Component calendar = parse(first.out);
    ASSERT_NE(calendar.get(), nullptr);
    const auto events = eventsByUid(calendar.get());
    EXPECT_EQ(events.size(), 730u);
    for (const auto& [uid, e] : events) {
        ASSERT_TRUE(e.start.is_date) << uid;
    }
    EXPECT_EQ(events.at("rokuyo-2026-02-04@sorvane").summary, "仏滅"); // 旧12月17日

    std::this_thread::sleep_for(std::chrono::milliseconds(1100)); // another second on the clock
    EXPECT_EQ(runCli("--feed rokuyo --from 2026 --to 2027").out, first.out);

    const auto dir =
        std::filesystem::temp_directory_path() / ("sorvane-feed-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "rokuyo.ics";
    std::ofstream(file) << "old";
    const CliRun toFile =
        runCli("--feed rokuyo --from 2026 --to 2027 --ics '" + file.string() + "'");
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    std::ifstream in(file, std::ios::binary);
    std::stringstream written;
    written << in.rdbuf();
    EXPECT_EQ(written.str(), first.out);
    std::filesystem::remove_all(dir);
}

// A week of 2026 that holds a 八専 with two of its 間日: each day's 六曜 is the --days column,
// its 選日 the --notes column (a period's event covers its 間日, which its text names and
// --notes leaves out).
TEST(FeedCli, AWeekAgreesWithDaysAndNotes) {
    const CliRun days = runCli("2026 --days");
    const CliRun notes = runCli("2026 --notes");
    const CliRun rokuyo = runCli("--feed rokuyo --from 2026 --to 2026");
    const CliRun senjitsu = runCli("--feed senjitsu --from 2026 --to 2026");
    const CliRun periods = runCli("--feed senjitsu-periods --from 2026 --to 2026");
    ASSERT_EQ(days.status + notes.status + rokuyo.status + senjitsu.status + periods.status, 0);
    std::map<std::string, std::string> dayRokuyo;
    for (const std::string& line : lines(days.out)) {
        const auto f = tabFields(line);
        dayRokuyo[f.at(0)] = f.at(4);
    }
    std::map<std::string, std::set<std::string>> dayNotes;
    for (const std::string& line : lines(notes.out)) {
        const auto f = tabFields(line);
        const std::string& names = f.at(7); // "一粒万倍日、寅の日", "-" for none
        std::set<std::string>& set = dayNotes[f.at(0)];
        for (std::size_t from = 0; names != "-" && from <= names.size();) {
            const std::size_t sep = std::min(names.find("、", from), names.size());
            set.insert(names.substr(from, sep - from));
            from = sep + std::string("、").size();
        }
    }
    const auto rokuyoEvents = eventsByUid(parse(rokuyo.out).get());
    const Component senjitsuCalendar = parse(senjitsu.out);
    auto senjitsuEvents = eventsByUid(senjitsuCalendar.get());
    const Component periodsCalendar = parse(periods.out);
    for (auto& [uid, e] : eventsByUid(periodsCalendar.get())) {
        EXPECT_TRUE(senjitsuEvents.emplace(uid, e).second) << uid << " in both feeds";
    }

    int restDays = 0;
    for (int d = 9; d <= 15; ++d) {
        const CivilDate date{2026, 2, d};
        const std::string iso = isoDateText(date);
        SCOPED_TRACE(iso);
        EXPECT_EQ(rokuyoEvents.at("rokuyo-" + iso + "@sorvane").summary, dayRokuyo.at(iso));
        std::set<std::string> covering;
        const std::string restDay = std::to_string(date.month) + "月" + std::to_string(d) + "日";
        for (const auto& [uid, e] : senjitsuEvents) {
            const CivilDate first{e.start.year, e.start.month, e.start.day};
            const CivilDate end{e.end.year, e.end.month, e.end.day};
            if (first <= date && date < end) {
                const bool rest =
                    e.description.find("間日 ") != std::string::npos &&
                    e.description.find(restDay, e.description.find("間日 ")) != std::string::npos;
                restDays += rest ? 1 : 0;
                // "巳の日・己巳の日": one event naming both.
                for (std::size_t from = 0; !rest && from <= e.summary.size();) {
                    const std::size_t dot = std::min(e.summary.find("・", from), e.summary.size());
                    covering.insert(e.summary.substr(from, dot - from));
                    from = dot + std::string("・").size();
                }
            }
        }
        EXPECT_EQ(covering, dayNotes.at(iso));
    }
    EXPECT_EQ(restDays, 2); // 2026-02-11 丙辰 and 2026-02-13 戊午
}

// Bad arguments: one line naming them, status 2, nothing on standard output.
// The peak memory (kB) of the terminal program writing a feed into a file, and its status.
std::pair<long, int> feedPeakMemory(const char* kind, const char* from, const char* to,
                                    const std::filesystem::path& file) {
    const std::string program = cliProgram();
    const std::string path = file.string();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(program.c_str(), program.c_str(), "--feed", kind, "--from", from, "--to", to,
                "--ics", path.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child) {
        return {-1, -1};
    }
    return {usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// A feed is written as it is made: two centuries of 六曜 (73,414 days, a 16 MB file) take no
// more memory than one year's, well under 30 MB; a feed built whole in memory grew with the
// years (hundreds of MB for these).
TEST(FeedCli, TheMemoryDoesNotGrowWithTheYears) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("sorvane-feed-mem-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto [oneYear, oneStatus] = feedPeakMemory("rokuyo", "2026", "2026", dir / "one.ics");
    const auto [twoCenturies, status] = feedPeakMemory("rokuyo", "1900", "2100", dir / "all.ics");
    ASSERT_EQ(oneStatus, 0);
    ASSERT_EQ(status, 0);
    const auto size = std::filesystem::file_size(dir / "all.ics");
    std::filesystem::remove_all(dir);
    EXPECT_GT(size, 15'000'000u);
    EXPECT_LT(twoCenturies, oneYear + 4 * 1024) << oneYear << " kB for one year";
    EXPECT_LT(twoCenturies, 30 * 1024);
    std::printf("--feed rokuyo: peak %ld kB for 1900..2100 (%ju bytes), %ld kB for 2026\n",
                twoCenturies, static_cast<std::uintmax_t>(size), oneYear);
}

TEST(FeedCli, BadArgumentsAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"--feed tides", "--feed \"tides\" is not a kind of feed (rokuyo, senjitsu, sekki,"},
        {"--feed rokuyo --from 1899", "the rokuyo feed covers the years 1900..2100"},
        {"--feed holidays --from 2026 --to 2101", "the holidays feed covers the years 1948..2100"},
        {"--feed sekki --from 0", "the sekki feed covers the years 1..8455"},
        {"--feed moon --from 2027 --to 2026", "--to 2026 lies before --from 2027"},
        // The moon feed's 十五夜 and 十三夜 need the lunisolar calendar: its years, not the
        // phases' -1999..3000.
        {"--feed moon --from 1899", "the moon feed covers the years 1900..2100"},
        {"--feed moon --from 2101", "the moon feed covers the years 1900..2100"},
        {"--feed moon --from 3000", "the moon feed covers the years 1900..2100"},
        {"--feed moon --from 2100 --to 2101", "the moon feed covers the years 1900..2100"},
        {"--feed senjitsu --from 2026-01-01", "--from \"2026-01-01\" is not a year"},
        {"--feed rokuyo 2026", "--feed takes its years from --from and --to, not a year"},
        {"--feed rokuyo --json", "--feed and --json cannot be combined"},
        {"--feed zassetsu --zassetsu", "--feed and --zassetsu cannot be combined"},
        {"--feed", "--feed needs a value"},
    };
    for (const auto& [args, message] : cases) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_NE(run.err.find(message), std::string::npos) << args << ": " << run.err;
        EXPECT_EQ(lines(run.err).size(), 1u) << run.err;
    }
}

// Past the precise mode (3001..8455) the 節気 and 雑節 feeds take the solar theory's moments,
// for which the program reads the term files: a feed of 3001, or of 3000..3001 across the
// modes' border, is written, and each 節気 of 3001 is at the minute --days gives (the default
// theory's there).
TEST(FeedCli, TheSolarTheorysYearsAreWrittenFromTheTermFiles) {
    const CliRun days = runCli("3001 --days");
    ASSERT_EQ(days.status, 0) << days.err;
    std::map<std::string, std::string> termAt; // "立春" -> "3001-02-04 19:52"
    for (const std::string& line : lines(days.out)) {
        const auto f = tabFields(line);
        for (std::size_t i = 6; i < f.size(); ++i) {
            const std::size_t space = f[i].rfind(' ');
            if (space != std::string::npos) {
                termAt[f[i].substr(0, space)] = f[0] + " " + f[i].substr(space + 1);
            }
        }
    }
    for (const char* args : {"--feed sekki --from 3001", "--feed sekki --from 3000 --to 3001",
                             "--feed zassetsu --from 3001 --to 3002"}) {
        SCOPED_TRACE(args);
        const CliRun run = runCli(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const Component calendar = parse(run.out);
        ASSERT_NE(calendar.get(), nullptr);
        const auto events = eventsByUid(calendar.get());
        EXPECT_GE(events.size(), 24u);
        int checked = 0;
        for (const auto& [uid, e] : events) {
            if (uid.rfind("sekki-", 0) != 0 || e.start.year != 3001 || e.start.is_date) {
                continue;
            }
            icaltimetype jst = e.start;
            icaltime_adjust(&jst, 0, 9, 0, 0);
            char at[32];
            std::snprintf(at, sizeof at, "%04d-%02d-%02d %02d:%02d", jst.year, jst.month, jst.day,
                          jst.hour, jst.minute);
            EXPECT_EQ(at, termAt[e.summary]) << uid;
            EXPECT_NE(e.description.find("ニューカムの太陽理論"), std::string::npos) << uid;
            ++checked;
        }
        EXPECT_EQ(checked, std::string(args).find("sekki") != std::string::npos ? 24 : 0);
    }
}

// The years --help gives each kind are the years the kind's feed is written for: the last
// year of the span gives a calendar, the year after it is refused with status 2.
TEST(FeedCli, TheHelpNamesTheYearsEachKindIsWrittenFor) {
    const CliRun help = runCli("--help");
    ASSERT_EQ(help.status, 0);
    std::string text; // the help with its line breaks and indents as single spaces
    for (const std::string& line : lines(help.out)) {
        const std::size_t from = line.find_first_not_of(' ');
        text += (text.empty() ? "" : " ") + (from == std::string::npos ? "" : line.substr(from));
    }
    const std::tuple<const char*, const char*, int, int> cases[] = {
        {"rokuyo", "rokuyo (六曜 each day, 1900..2100)", 1900, 2100},
        {"holidays", "holidays (1948..2100)", 1948, 2100},
        {"moon", "十五夜, 十三夜, 日食・月食 at 東京; 1900..2100)", 1900, 2100},
        {"zassetsu", "zassetsu (1..8455)", 1, 8455},
    };
    for (const auto& [kind, helpText, first, last] : cases) {
        SCOPED_TRACE(kind);
        EXPECT_NE(text.find(helpText), std::string::npos) << text;
        const std::string feed = std::string("--feed ") + kind + " --from ";
        EXPECT_EQ(runCli(feed + std::to_string(last)).status, 0);
        EXPECT_EQ(runCli(feed + std::to_string(first)).status, 0);
        EXPECT_EQ(runCli(feed + std::to_string(last + 1)).status, 2);
        EXPECT_EQ(runCli(feed + std::to_string(first - 1)).status, 2);
    }
}

// --published-feeds: what a site publishes in a year is the year before it to three years
// after, cut to each kind's years as the help gives them (六曜, 選日, the Moon and 潮名
// 1900..2100, the holidays 1948..2100, 節気 and 雑節 1..8455); each line's years are a feed
// --feed writes.
TEST(FeedCli, PublishedFeedsAreTheWindowCutToEachKindsYears) {
    const char* kinds[] = {"rokuyo",   "senjitsu",         "sekki", "holidays", "moon",
                           "zassetsu", "senjitsu-periods", "shio"};
    const std::pair<int, std::vector<const char*>> cases[] = {
        {2026,
         {"2025 2029", "2025 2029", "2025 2029", "2025 2029", "2025 2029", "2025 2029", "2025 2029",
          "2025 2029"}},
        {1898,
         {"1900 1901", "1900 1901", "1897 1901", "- -", "1900 1901", "1897 1901", "1900 1901",
          "1900 1901"}},
        {1948,
         {"1947 1951", "1947 1951", "1947 1951", "1948 1951", "1947 1951", "1947 1951", "1947 1951",
          "1947 1951"}},
        {2101,
         {"2100 2100", "2100 2100", "2100 2104", "2100 2100", "2100 2100", "2100 2104", "2100 2100",
          "2100 2100"}},
        {8455, {"- -", "- -", "8454 8455", "- -", "- -", "8454 8455", "- -", "- -"}},
        {9000, {"- -", "- -", "- -", "- -", "- -", "- -", "- -", "- -"}},
    };
    for (const auto& [year, expected] : cases) {
        SCOPED_TRACE(year);
        const CliRun run = runCli("--published-feeds " + std::to_string(year));
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const std::vector<std::string> got = lines(run.out);
        ASSERT_EQ(got.size(), std::size(kinds)) << run.out;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i], std::string(kinds[i]) + " " + expected[i]);
            const std::string years = expected[i];
            if (years != "- -" && year == 2101) {
                const std::string from = years.substr(0, 4);
                const std::string to = years.substr(5);
                EXPECT_EQ(runCli(std::string("--feed ") + kinds[i] + " --from " + from + " --to " +
                                 to + " --ics /dev/null")
                              .status,
                          0)
                    << kinds[i];
            }
        }
    }
    // Without a year, this year in Japan: the same lines as that year's.
    const CliRun thisYear = runCli("--published-feeds");
    ASSERT_EQ(thisYear.status, 0) << thisYear.err;
    const std::string first = lines(thisYear.out).at(2); // sekki: 1..8455
    const int year = std::stoi(first.substr(first.find(' ') + 1)) + 1;
    EXPECT_EQ(runCli("--published-feeds " + std::to_string(year)).out, thisYear.out);

    for (const char* args : {"--published-feeds --json", "--published-feeds --feed rokuyo",
                             "--published-feeds=2026"}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_EQ(lines(run.err).size(), 1u) << run.err;
    }
}

} // namespace
} // namespace sorvane::testing
