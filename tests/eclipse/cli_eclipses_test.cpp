// sorvane-cli --eclipses: the 2030 annular eclipse for 札幌 and 東京 in the report, the JSON
// document's seconds, the calendar file, and the refusals of bad input (status 2, Japanese).
#include "support/test_support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

using sorvane::testing::runCli;

TEST(EclipsesCli, ReportAndDocumentOf2030) {
    const auto sapporo = runCli("--eclipses 2030 --place 札幌");
    ASSERT_EQ(sapporo.status, 0) << sapporo.err;
    EXPECT_NE(sapporo.out.find("2030-06-01 金環日食"), std::string::npos) << sapporo.out;
    EXPECT_NE(sapporo.out.find("札幌：金環日食"), std::string::npos) << sapporo.out;
    EXPECT_NE(sapporo.out.find("食の始め　  15:41"), std::string::npos) << sapporo.out;
    EXPECT_NE(sapporo.out.find("2030-06-16 部分月食"), std::string::npos) << sapporo.out;
    EXPECT_NE(sapporo.out.find("（地平線下）"), std::string::npos) << sapporo.out;
    const auto tokyo = runCli("--eclipses 2030 --json");
    ASSERT_EQ(tokyo.status, 0) << tokyo.err;
    EXPECT_NE(tokyo.out.find("\"name\": \"東京\""), std::string::npos);
    EXPECT_NE(tokyo.out.find("\"kind\": \"部分日食\""), std::string::npos) << tokyo.out;
    EXPECT_NE(tokyo.out.find("2030-06-01T15:"), std::string::npos) << tokyo.out;
}

// The report as a terminal shows it: within each eclipse the contact lines put the time, the
// altitude and the azimuth in one column each (a contact on another day than the eclipse's
// carries its date before the time and is left out). Columns counted as a terminal counts
// them: an ASCII character one, any other two.
TEST(EclipsesCli, ContactLinesKeepTheirColumns) {
    const auto column = [](const std::string& line, std::size_t byte) {
        std::size_t width = 0;
        for (std::size_t i = 0; i < byte; ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            width += c < 0x80 ? 1 : ((c & 0xC0) == 0xC0 ? 2 : 0);
        }
        return width;
    };
    int blocks = 0;
    for (const char* args : {"--eclipses 2026", "--eclipses 2030 --place 札幌",
                             "--eclipses 2035 --place 長野", "--eclipses 2021 --lat 0 --lon 0"}) {
        SCOPED_TRACE(args);
        const auto run = runCli(args);
        ASSERT_EQ(run.status, 0) << run.err;
        std::istringstream in(run.out + "\n");
        std::vector<std::vector<std::size_t>> block;
        std::string line;
        while (std::getline(in, line)) {
            const std::size_t time = line.find(':') - 2;
            const std::size_t altitude = line.find("高度");
            if (line.rfind("  ", 0) == 0 && altitude != std::string::npos &&
                line[time - 1] == ' ' && line[time - 2] == ' ') {
                block.push_back({column(line, time), column(line, altitude),
                                 column(line, line.find("方位")), column(line, line.find('.'))});
                continue;
            }
            if (block.size() > 1) {
                ++blocks;
                for (const auto& columns : block) {
                    EXPECT_EQ(columns, block.front()) << run.out;
                }
            }
            block.clear();
        }
    }
    EXPECT_GE(blocks, 6);
}

// A place by latitude and longitude, as --sun takes it: Sapporo's coordinates give Sapporo's
// published minutes (日食ナビ「2030年6月1日」: 札幌 始め 15時41分; 「北海道で金環日食」: 終了
// 18時04分; see published_predictions_test.cpp), named by the coordinates.
TEST(EclipsesCli, PlaceByCoordinates) {
    struct Case {
        const char* args;
        std::vector<const char*> shown;
    };
    const Case cases[] = {
        {"--eclipses 2030 --lat 43.064615 --lon 141.346807",
         {"2030年の日食・月食（北緯43.06° 東経141.35°）", "北緯43.06° 東経141.35°：金環日食",
          "食の始め　  15:41", "食の終わり  18:04"}},
        {"--eclipses 2030 --lon +141.346807 --lat +43.064615 --json",
         {"\"name\": \"北緯43.06° 東経141.35°\"", "\"latitude\": 43.064615",
          "\"kind\": \"金環日食\""}},
        // South and west: the 2030-11-25 total eclipse over South Africa (Durban).
        {"--eclipses 2030 --lat -29.86 --lon 31.03", {"南緯29.86° 東経31.03°：皆既日食"}},
    };
    for (const Case& c : cases) {
        const auto run = runCli(c.args);
        ASSERT_EQ(run.status, 0) << c.args << ": " << run.err;
        for (const char* text : c.shown) {
            EXPECT_NE(run.out.find(text), std::string::npos) << c.args << ": " << text << "\n"
                                                             << run.out;
        }
    }
}

TEST(EclipsesCli, CalendarFile) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("sorvane-eclipses-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "e.ics";
    const auto run = runCli("--eclipses 2035 --place 長野 --ics " + file.string());
    ASSERT_EQ(run.status, 0) << run.err;
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("UID:eclipse-solar-2035-09-02@sorvane"), std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find("皆既日食（長野）"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(EclipsesCli, BadInputRefusedInJapanese) {
    struct Case {
        const char* args;
        const char* message;
    };
    const Case cases[] = {
        {"--eclipses 3001", "-1999〜3000"},
        {"--eclipses abc", "の年を書いてください"},
        {"--eclipses", "には値が必要です"},
        {"--eclipses 2030 --place 月面", "知らない地点です"},
        {"--eclipses 2030 --month 6", "--eclipses とは使えない引数です"},
        {"--eclipses 2030 --lat 91 --lon 141", "--lat \"91\"：-90〜90 の度数を書いてください"},
        {"--eclipses 2030 --lat 43 --lon -180.5",
         "--lon \"-180.5\"：-180〜180 の度数を書いてください"},
        {"--eclipses 2030 --lat 北緯43 --lon 141", "--lat \"北緯43\"：度を10進数で書いてください"},
        {"--eclipses 2030 --lat nan --lon 141", "度を10進数で書いてください"},
        {"--eclipses 2030 --lat 43 --lon 141x", "--lon \"141x\"：度を10進数で書いてください"},
        {"--eclipses 2030 --lat 43", "--lat には --lon も必要です"},
        {"--eclipses 2030 --lon 141", "--lon には --lat も必要です"},
        {"--eclipses 2030 --lat", "--lat には値が必要です"},
        {"--eclipses 2030 --place 札幌 --lat 43 --lon 141", "--place と --lat は一緒に使えません"},
    };
    for (const Case& c : cases) {
        const auto run = runCli(c.args);
        EXPECT_EQ(run.status, 2) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << c.args;
    }
}

} // namespace
