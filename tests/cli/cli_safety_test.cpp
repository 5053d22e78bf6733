// The terminal program where output can fail or options collide: the calendar file is
// replaced whole or not at all, a failed standard output is reported with its own status,
// and every combination of options is either done or refused by name.
#include "support/ics_reading.h"
#include "support/test_support.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using sorvane::testing::CliRun;
using sorvane::testing::runCli;
using sorvane::testing::withoutStamps;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class CalendarFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("sorvane-ics-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ASSERT_EQ(runCli("2025 --ics '" + (dir / "old.ics").string() + "' >/dev/null").status, 0);
        old = readFile(dir / "old.ics");
        ASSERT_GT(old.size(), 8000u);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs year --ics FILE with the file-size limit fsize (bytes; 0: none).
    CliRun writeIcs(const std::string& year, const fs::path& file, rlim_t fsize = 0) {
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        if (fsize != 0) {
            rlimit limited = saved;
            limited.rlim_cur = fsize;
            setrlimit(RLIMIT_FSIZE, &limited);
        }
        const CliRun r = runCli(year + " --ics '" + file.string() + "' >/dev/null");
        setrlimit(RLIMIT_FSIZE, &saved);
        return r;
    }

    // The folder holds exactly these names (no temporary file left behind).
    void expectNames(std::vector<std::string> names) {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(dir)) {
            found.push_back(entry.path().filename().string());
        }
        std::sort(found.begin(), found.end());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(found, names);
    }

    fs::path dir;
    std::string old;
};

TEST_F(CalendarFile, FailuresAndRefusalsLeaveTheOldFileByteForByte) {
    struct Case {
        const char* year;
        rlim_t fsize;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"-1", 0, 2, "--ics writes the years 1..9999"},
        {"0", 0, 2, "--ics writes the years 1..9999"},
        {"10000", 0, 2, "--ics writes the years 1..9999"},
        {"2024", 4096, 3, ": cannot write: File too large"},
    };
    for (const Case& c : cases) {
        const CliRun r = writeIcs(c.year, dir / "old.ics", c.fsize);
        EXPECT_EQ(r.status, c.status) << c.year << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.year << ": " << r.err;
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
        EXPECT_EQ(readFile(dir / "old.ics"), old) << c.year;
        expectNames({"old.ics"});
    }
    // A folder that does not exist: the system's reason.
    const CliRun r = writeIcs("2024", dir / "missing" / "new.ics");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
}

TEST_F(CalendarFile, ReplacedWholeThroughALinkKeepingItsPermissions) {
    fs::permissions(dir / "old.ics",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("old.ics", dir / "link.ics");
    const CliRun r = writeIcs("9999", dir / "link.ics");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(dir / "link.ics"));
    const std::string now = readFile(dir / "old.ics");
    EXPECT_NE(now.find("DTSTART:9999"), std::string::npos);
    EXPECT_EQ(now.find("00000000"), std::string::npos);
    EXPECT_EQ(fs::status(dir / "old.ics").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    expectNames({"old.ics", "link.ics"});
}

TEST_F(CalendarFile, OneRuleForTheMomentsAndEveryWayToNameTheFile) {
    // The default theory's calendar, with --days on the command line or not; --precise's
    // only with --precise.
    ASSERT_EQ(runCli("2025 --days --ics '" + (dir / "days.ics").string() + "' >/dev/null").status,
              0);
    EXPECT_EQ(withoutStamps(readFile(dir / "days.ics")), withoutStamps(old));
    ASSERT_EQ(runCli("2025 --precise --ics '" + (dir / "p.ics").string() + "' >/dev/null").status,
              0);
    EXPECT_NE(withoutStamps(readFile(dir / "p.ics")), withoutStamps(old));
    // "-" writes the calendar to standard output instead of the report.
    const CliRun toStdout = runCli("2025 --ics -");
    EXPECT_EQ(toStdout.status, 0);
    EXPECT_EQ(withoutStamps(toStdout.out), withoutStamps(old));
    // /dev/stdout while standard output is a file would lose one of the two: refused.
    const CliRun same = runCli("2025 --ics /dev/stdout >'" + (dir / "out.txt").string() + "'");
    EXPECT_EQ(same.status, 2);
    EXPECT_NE(same.err.find("is standard output"), std::string::npos) << same.err;
    // A name of 251 bytes (the temporary name is cut to fit the folder's limit of 255).
    const std::string longName(251, 'n');
    ASSERT_EQ(writeIcs("2025", dir / (longName + ".ics")).status, 0);
    // Stale temporaries of the same target (writers that are gone) are removed; one of a
    // running process (pid 1) and other names stay.
    for (const char* name :
         {".old.ics.tmp-999999999-0", ".old.ics.tmp-1-0", ".other.tmp-999999999-0"}) {
        std::ofstream(dir / name) << "partial";
    }
    ASSERT_EQ(writeIcs("2025", dir / "old.ics").status, 0);
    expectNames({"old.ics", "days.ics", "p.ics", "out.txt", longName + ".ics", ".old.ics.tmp-1-0",
                 ".other.tmp-999999999-0"});
    // A message cuts a long name as it cuts arguments.
    const CliRun cut = writeIcs("2025", dir / "missing" / (longName + ".ics"));
    EXPECT_EQ(cut.status, 3);
    EXPECT_NE(cut.err.find("nnn...\": cannot create a temporary file in "), std::string::npos)
        << cut.err;
    EXPECT_LT(cut.err.size(), 200u + dir.string().size()) << cut.err;
}

TEST(StandardOutput, AFailedWriteIsReportedWithStatusThree) {
    const char* modes[] = {"2000",        "2000 --month 3",       "--help", "2000 --zassetsu",
                           "2000 --json", "2000 --json --month 3"};
    for (const char* mode : modes) {
        for (const auto& [redirect, reason] : {std::pair{">/dev/full", "No space left on device"},
                                               std::pair{">&-", "Bad file descriptor"}}) {
            const CliRun r = runCli(std::string(mode) + " " + redirect);
            EXPECT_EQ(r.status, 3) << mode << redirect;
            EXPECT_EQ(r.err, std::string("sorvane-cli: standard output: ") + reason + "\n")
                << mode << redirect;
        }
    }
}

// Standard output a pipe whose reader has already quit, as under `| head` once head is done:
// the write fails with EPIPE, reported with status 3, for the text, JSON and iCalendar
// writers. The child starts with SIGPIPE's default action, as a shell gives it.
TEST(StandardOutput, APipeWhoseReaderQuitIsAFailedWrite) {
    const std::vector<std::vector<std::string>> modes = {
        {"2026", "--days"}, {"2026", "--days", "--json"}, {"2026", "--ics", "-"}, {"--help"}};
    for (const auto& mode : modes) {
        int out[2];
        int err[2];
        ASSERT_EQ(::pipe(out), 0);
        ASSERT_EQ(::pipe(err), 0);
        ::close(out[0]); // the reader is gone before the first write
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGPIPE, SIG_DFL);
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            ::close(err[0]);
            const std::string program = sorvane::testing::cliProgram();
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& a : mode) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        std::string message;
        char buf[512];
        for (ssize_t n; (n = ::read(err[0], buf, sizeof buf)) > 0;) {
            message.append(buf, static_cast<std::size_t>(n));
        }
        ::close(err[0]);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const std::string line = mode.front() + " " + mode.back();
        ASSERT_TRUE(WIFEXITED(status)) << line << ": ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 3) << line;
        // The last line (a mode's note may come first).
        const std::string broken = "sorvane-cli: standard output: Broken pipe\n";
        EXPECT_TRUE(message.size() >= broken.size() &&
                    message.compare(message.size() - broken.size(), broken.size(), broken) == 0)
            << line << ": " << message;
    }
}

TEST(Options, EachCombinationIsDoneOrRefusedByName) {
    struct Case {
        std::string args;
        int status;
        // status 0: JSON pointers into the printed document and their values (null: present);
        // otherwise: text in the one stderr line
        std::string expected;
    };
    const Case cases[] = {
        {"2000 --json --month 3", 0, R"({"/month": 3, "/yearCaption": "庚辰年"})"},
        {"2000 --month 3 --json", 0,
         R"({"/days/30": {"day": 31, "weekday": "金", "sexagenary": "戊子"}})"},
        {"2000 --json --zassetsu", 0, R"({"/zassetsu": null})"},
        {"2000 --month 3 --zassetsu", 2, "--month and --zassetsu"},
        {"--precise 2000 --month 3", 2, "--month and --precise"},
        {"2000 --month 3 --month 4", 2, "--month is given twice"},
        {"2000 --ics a.ics --ics=b.ics", 2, "--ics is given twice"},
        {"2000 --data ''", 2, "--data needs a folder"},
        {"2000 --precise=0", 2, "--precise takes no value: \"--precise=0\""},
        {"2000 --json=no", 2, "--json takes no value"},
        {"2000 --days=false", 2, "--days takes no value"},
        {"2000 --sun=1", 2, "--sun takes no value"},
        {"2000 --json=", 2, "--json takes no value"},
        {"2000 --ics --json", 2, "--ics needs a value, not the option \"--json\""},
        {"2000 --data --days", 2, "--data needs a value, not the option \"--days\""},
        {"2000 --phases --zassetsu", 2, "--zassetsu and --phases cannot be combined"},
        {"2000 --phases --zassetsu --json", 2, "--zassetsu and --phases cannot be combined"},
        {"2000 --ics /dev/stdout", 2, "--ics \"/dev/stdout\" is standard output"},
        {"2000 --json --ics /dev/null", 0, R"({"/mode": "default"})"},
        {"\"$(printf 'ab\\ncd\\033[31m')\"", 2, "\"ab\\ncd\\x1B[31m\""},
        {"--month \"$(head -c 100000 /dev/zero | tr '\\0' x)\"", 2,
         "\"" + std::string(40, 'x') + "...\""},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << ": " << r.err;
        if (c.status == 0) {
            const auto doc = nlohmann::json::parse(r.out);
            const auto expected = nlohmann::json::parse(c.expected);
            for (const auto& [pointer, value] : expected.items()) {
                const nlohmann::json::json_pointer at(pointer);
                ASSERT_TRUE(doc.contains(at)) << c.args << ": " << pointer;
                if (!value.is_null()) {
                    EXPECT_EQ(doc.at(at), value) << c.args << ": " << pointer;
                }
            }
            continue;
        }
        EXPECT_TRUE(r.out.empty()) << c.args;
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
        EXPECT_LT(r.err.size(), 200u) << c.args;
    }
}

TEST(Options, DriftedYearsWarnOnceAndMarkTheirEvents) {
    const CliRun sane = runCli("2000 --json");
    EXPECT_EQ(sane.err, "");
    EXPECT_EQ(sane.out.find("outsideMonth"), std::string::npos);
    const CliRun far = runCli("9999 --json");
    EXPECT_EQ(far.status, 0);
    EXPECT_EQ(lineCount(far.err), 1) << far.err;
    EXPECT_NE(far.err.find("warning: 9999"), std::string::npos) << far.err;
    const auto events = nlohmann::json::parse(far.out)["events"];
    EXPECT_TRUE(std::any_of(events.begin(), events.end(),
                            [](const auto& e) { return e.value("outsideMonth", false); }));
}

} // namespace
