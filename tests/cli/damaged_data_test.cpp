// The terminal program over damaged data folders: absurd values, huge files and special
// files each end in one line naming the file (and term and field) with status 1.
#include "support/test_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using sorvane::testing::CliRun;
using sorvane::testing::runCli;

const fs::path kShipped = fs::path(SORVANE_SOURCE_DIR) / "data";

// Replaces the value-th value (0-based, counted over the whole file) of a term file.
void replaceValue(const fs::path& file, int index, const std::string& value) {
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t pos = 0;
    for (int i = 0;; ++i) {
        pos = text.find_first_not_of(", \r\n", pos);
        const std::size_t end = text.find_first_of(", \r\n", pos);
        if (i == index) {
            text.replace(pos, end - pos, value);
            break;
        }
        pos = end;
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

TEST(DamagedData, EachDamageIsOneLineNamingTheFileWithStatusOne) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> damage;
        int status;
        std::string message; // expected in the one line on stderr, DIR the folder; "" for success
    };
    const Case cases[] = {
        {"radius amplitude 1e308",
         [](const fs::path& d) { replaceValue(d / "planet.txt", 5, "1e308"); }, 1,
         "planet.txt: term 1, field 6 (radius amplitude): \"1e308\" is outside -100000..100000"},
        {"radius amplitude 1e10",
         [](const fs::path& d) { replaceValue(d / "planet.txt", 5, "1e10"); }, 1,
         "planet.txt: term 1, field 6 (radius amplitude): \"1e10\" is outside -100000..100000"},
        {"longitude amplitude -1e308",
         [](const fs::path& d) { replaceValue(d / "planet.txt", 3, "-1e308"); }, 1,
         "planet.txt: term 1, field 4 (longitude amplitude): \"-1e308\" is outside -100..100 "
         "arcseconds"},
        {"phase 720", [](const fs::path& d) { replaceValue(d / "latitude.txt", 14, "720"); }, 1,
         "latitude.txt: term 3, field 5 (latitude phase): \"720\" is outside -360..360 degrees"},
        {"largest accepted values",
         [](const fs::path& d) {
             replaceValue(d / "planet.txt", 3, "100");
             replaceValue(d / "planet.txt", 5, "-100000");
             replaceValue(d / "planet.txt", 6, "360");
         },
         0, ""},
        {"link to /dev/zero",
         [](const fs::path& d) {
             fs::remove(d / "planet.txt");
             fs::create_symlink("/dev/zero", d / "planet.txt");
         },
         1, "planet.txt: DIR/planet.txt is not a regular file (a character device)"},
        {"named pipe nobody writes to",
         [](const fs::path& d) {
             fs::remove(d / "planet.txt");
             ASSERT_EQ(::mkfifo((d / "planet.txt").c_str(), 0600), 0);
         },
         1, "planet.txt: DIR/planet.txt is not a regular file (a named pipe)"},
        {"100 MB file", [](const fs::path& d) { fs::resize_file(d / "latitude.txt", 100 << 20); },
         1, "latitude.txt: DIR/latitude.txt is larger than 1048576 bytes"},
        {"junk after the needed values",
         [](const fs::path& d) {
             std::ofstream(d / "latitude.txt", std::ios::app) << std::string(900000, 'x');
         },
         0, ""},
        {"/dev/null",
         [](const fs::path& d) {
             fs::remove(d / "latitude.txt");
             fs::create_symlink("/dev/null", d / "latitude.txt");
         },
         1, "latitude.txt: DIR/latitude.txt is not a regular file (a character device)"},
    };
    const fs::path dir =
        fs::temp_directory_path() / ("sorvane-damaged-" + std::to_string(getpid()));
    for (const Case& c : cases) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy(kShipped / "planet.txt", dir / "planet.txt");
        fs::copy(kShipped / "latitude.txt", dir / "latitude.txt");
        c.damage(dir);
        const CliRun r = runCli("2025 --zassetsu --data '" + dir.string() + "'");
        EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
        if (c.status == 0) {
            EXPECT_EQ(r.err, "") << c.what;
            EXPECT_EQ(r.out.find("nan"), std::string::npos) << c.what;
            continue;
        }
        std::string message = c.message;
        if (const auto at = message.find("DIR"); at != std::string::npos) {
            message.replace(at, 3, dir.string());
        }
        EXPECT_TRUE(r.out.empty()) << c.what;
        EXPECT_NE(r.err.find(message), std::string::npos) << c.what << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.what << ": " << r.err;
    }
    fs::remove_all(dir);
}

// Values each inside the reader's bounds that still leave the calculation no usable moment
// (tests/data/refused-terms): the terminal program reports it like a damaged file.
TEST(DamagedData, RefusedButReadableTermsAreOneLineWithStatusOne) {
    const fs::path dir =
        fs::temp_directory_path() / ("sorvane-refused-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy(kShipped / "latitude.txt", dir / "latitude.txt");
    fs::copy(fs::path(SORVANE_SOURCE_DIR) / "tests/data/refused-terms/planet.txt",
             dir / "planet.txt");
    const CliRun r = runCli("2026 --data '" + dir.string() + "'");
    fs::remove_all(dir);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_EQ(r.err, "sorvane-cli: year 2026, month 7: the moment the Sun reaches 120 degrees lies "
                     "more than 1000 days from its month (check the term values in planet.txt)\n");
}

} // namespace
