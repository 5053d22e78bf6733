// The terminal program's --ics FILE.
#include "holidays/holidays.h"
#include "sky/precise_year.h"
#include "support/ics_reading.h"
#include "support/test_support.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace sorvane::testing {
namespace {

// The holiday law's equinoxes: the observatory's definition, the precise mode.
const sorvane::sky::PreciseMoments kObservatory;

TEST(Ics, TheTerminalProgramWritesTheFile) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("sorvane-ics-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto first = dir / "a.ics";
    const auto second = dir / "b.ics";
    auto read = [](const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    };
    const auto runA = runCli("2025 --precise --ics '" + first.string() + "'");
    ASSERT_EQ(runA.status, 0) << runA.err;
    const auto runB = runCli("2025 --precise --ics '" + second.string() + "'");
    ASSERT_EQ(runB.status, 0) << runB.err;
    // The printed report is the precise one, as without --ics.
    EXPECT_EQ(runA.out, runCli("2025 --precise").out);

    const std::string text = read(first);
    EXPECT_EQ(withoutStamps(text), withoutStamps(read(second)));
    EXPECT_NE(text.find("\r\n"), std::string::npos); // RFC 5545 line ends
    const auto events = eventsByUid(parse(text).get());
    // 28 events, 10 days and moments, 4 periods, 7 丑 days, the national holidays; 12 朔,
    // 12 望 and the four lunisolar days.
    EXPECT_EQ(events.size(), 49u + holidays::yearHolidays(2025, kObservatory).size() + 28u);
    EXPECT_NE(events.at("sekki-000-2025-03-20@sorvane").description.find("視黄経"),
              std::string::npos);
    const ParsedEvent& newMoon = events.at("moon-new-2025-01-29@sorvane");
    EXPECT_EQ(newMoon.summary, "朔");
    EXPECT_EQ(icaltime_as_timet(newMoon.start), jstToUnix({2025, 1, 29}, 21, 36));
    EXPECT_EQ(events.at("moon-full-2025-12-05@sorvane").summary, "望");
    const ParsedEvent& jugoya = events.at("moon-jugoya-2025-10-06@sorvane");
    EXPECT_TRUE(jugoya.start.is_date);
    EXPECT_EQ(jugoya.start.month * 100 + jugoya.start.day, 1006);
    EXPECT_EQ(jugoya.description, "旧暦8月15日");

    const auto bad = runCli("2025 --ics '" + (dir / "missing" / "x.ics").string() + "'");
    EXPECT_EQ(bad.status, 3); // an output that could not be written
    EXPECT_NE(bad.err.find("x.ics"), std::string::npos) << bad.err;
    std::filesystem::remove_all(dir);
}

#if defined(__linux__)
// The shared libraries a run of the terminal program started, as glibc's loader reports them
// (LD_DEBUG=files: one "calling init: PATH" line for each).
std::string startedLibraries(const std::string& args) {
    const std::string command =
        "LD_DEBUG=files '" + cliProgram() + "' " + args + " 2>&1 >/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {};
    }
    std::string report;
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) {
        report.append(buf, n);
    }
    ::pclose(pipe);
    std::string started;
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        if (const auto at = line.find("calling init: "); at != std::string::npos) {
            started += line.substr(at + 14) + "\n";
        }
    }
    return started;
}

// libical, and ICU through it, take more of a start than the year's calculation: the program
// starts them only when it writes a calendar file.
TEST(Ics, LibicalIsStartedOnlyForACalendarFile) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("sorvane-ical-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = "'" + (dir / "a.ics").string() + "'";
    const struct {
        std::string args;
        bool calendar;
    } cases[] = {
        {"2026", false},
        {"2026 --precise --json", false},
        {"--days --from 2026-02-01 --to 2026-02-28", false},
        {"--feed rokuyo --from 2026", true}, // a calendar on standard output
        {"2026 --ics " + file, true},
        {"--feed sekki --from 2026 --ics " + file, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const std::string started = startedLibraries(c.args);
        ASSERT_NE(started.find("libc.so"), std::string::npos) << "no loader report:\n" << started;
        EXPECT_EQ(started.find("libical") != std::string::npos, c.calendar) << started;
        EXPECT_EQ(started.find("libicuuc") != std::string::npos, c.calendar) << started;
    }
    std::filesystem::remove_all(dir);
}
#endif

} // namespace
} // namespace sorvane::testing
