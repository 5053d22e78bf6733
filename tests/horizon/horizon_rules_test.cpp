// The rules of rising and setting on constructed cases, the observatory's published Tokyo
// minutes, the places file and the terminal program's --sun.
#include "calendar/civil_date.h"
#include "horizon/day_text.h"
#include "horizon/places.h"
#include "horizon/rise_set.h"
#include "support/test_support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace sorvane;

horizon::DayTimes dayAt(const horizon::Observer& o, CivilDate date) {
    const long long n = dayNumber(date);
    return horizon::dayTimes(o, n, n).front();
}

// The calendar page asks for one month at a time, so the searches start and end at every
// month's edges, where a culmination's window reaches past the tabulated places. Month by
// month the times must be there (nothing thrown) and agree with the year's to the minute
// (one minute where a moment lies within the searches' tolerance of a minute's edge).
TEST(HorizonRules, MonthByMonthAgreesWithTheYear) {
    for (const horizon::Observer& o : {horizon::tokyo().observer, horizon::Observer{43.06, 141.35},
                                       horizon::Observer{26.21, 127.68}}) {
        const auto year = horizon::yearTimes(o, 2026);
        std::size_t k = 0;
        for (int month = 1; month <= 12; ++month) {
            const long long first = dayNumber(CivilDate{2026, month, 1});
            const long long last = dayNumber(CivilDate{2026, month, daysInMonth(2026, month)});
            std::vector<horizon::DayTimes> days;
            ASSERT_NO_THROW(days = horizon::dayTimes(o, first, last)) << month;
            ASSERT_EQ(days.size(), static_cast<std::size_t>(last - first + 1)) << month;
            for (const horizon::DayTimes& d : days) {
                const horizon::DayTimes& y = year.at(k++);
                ASSERT_EQ(d.day, y.day);
                for (const auto& [a, b] : {std::pair{d.sunrise, y.sunrise},
                                           {d.sunset, y.sunset},
                                           {d.moonrise, y.moonrise},
                                           {d.moonset, y.moonset}}) {
                    ASSERT_EQ(a.has_value(), b.has_value()) << d.day;
                    if (a) {
                        EXPECT_LE(std::abs(*a - *b), 1) << d.day;
                    }
                }
            }
        }
    }
}

// Each month of a lunation has a day without a moonrise and one without a moonset (the
// Moon's day is 24 h 50 min); every day has exactly one sunrise and sunset at mid latitudes.
TEST(HorizonRules, MissingMoonEventsAndPolarDays) {
    const auto days = horizon::yearTimes(horizon::tokyo().observer, 2025);
    int noRise = 0;
    int noSet = 0;
    for (const horizon::DayTimes& d : days) {
        EXPECT_TRUE(d.sunrise && d.sunset);
        noRise += d.moonrise ? 0 : 1;
        noSet += d.moonset ? 0 : 1;
        EXPECT_GE(d.moonAge, 0.0);
        EXPECT_LT(d.moonAge, 30.0);
    }
    // 12 or 13 lunations in a year: as many days without each event.
    EXPECT_GE(noRise, 12);
    EXPECT_LE(noRise, 13);
    EXPECT_GE(noSet, 12);
    EXPECT_LE(noSet, 13);

    struct Case {
        const char* what;
        horizon::Observer place;
        CivilDate date;
        bool sunUp; // expected: no rise and no set, the Sun above (true) or below
    };
    const Case polar[] = {
        {"midnight sun at Tromsø", {69.6496, 18.956}, {2025, 6, 21}, true},
        {"polar night at Tromsø", {69.6496, 18.956}, {2025, 12, 21}, false},
        {"midnight sun in the south", {-75.0, 0.0}, {2025, 12, 21}, true},
    };
    for (const Case& c : polar) {
        const horizon::DayTimes d = dayAt(c.place, c.date);
        EXPECT_FALSE(d.sunrise) << c.what;
        EXPECT_FALSE(d.sunset) << c.what;
        // The polar day and the polar night are told apart in every text.
        EXPECT_EQ(d.polar, c.sunUp ? horizon::Polar::Day : horizon::Polar::Night) << c.what;
        EXPECT_EQ(horizon::dayLine(d).substr(10, 14), c.sunUp ? "  **:**  **:**" : "  --:--  --:--")
            << c.what;
        EXPECT_NE(horizon::dayDetailsText(d).find(c.sunUp ? "（白夜）" : "（極夜）"),
                  std::string::npos)
            << c.what;
    }
    EXPECT_EQ(dayAt(horizon::tokyo().observer, {2025, 6, 21}).polar, horizon::Polar::None);
    // A day at the equator lasts a little over 12 h (the upper limb and refraction).
    const horizon::DayTimes eq = dayAt({0.0, 135.0}, {2025, 3, 20});
    ASSERT_TRUE(eq.sunrise && eq.sunset);
    EXPECT_GE(*eq.sunset - *eq.sunrise, 12 * 60 + 5);
    EXPECT_LE(*eq.sunset - *eq.sunrise, 12 * 60 + 9);
}

// The observatory's own published Tokyo minutes.
TEST(HorizonRules, ObservatoryTokyoMinutes) {
    struct Published {
        CivilDate date;
        const char* sunrise;
        const char* sunset;
        const char* source;
    };
    const Published cases[] = {
        // 国立天文台 via Yahoo!ニュース (2024-12), "東京で6時51分":
        // https://news.yahoo.co.jp/expert/articles/0b642a7164defa341c5f0c19c27bed5a8d8764dc
        {{2025, 1, 1}, "06:51", nullptr, "Yahoo (2025-01-01)"},
        // 国立天文台 暦計算室, quoted at
        // http://170times.jp/yesterday/archive/2017/02/post_3097.html
        {{2017, 1, 1}, "06:51", "16:39", "170times (2017-01-01)"},
        {{2017, 2, 1}, "06:41", "17:08", "170times (2017-02-01)"},
    };
    for (const Published& p : cases) {
        const horizon::DayTimes d = dayAt(horizon::tokyo().observer, p.date);
        EXPECT_EQ(horizon::clockText(d.sunrise), p.sunrise) << p.source;
        if (p.sunset != nullptr) {
            EXPECT_EQ(horizon::clockText(d.sunset), p.sunset) << p.source;
        }
    }
}

TEST(HorizonRules, PlacesFile) {
    const auto places = horizon::loadPlaces(SORVANE_SOURCE_DIR "/data");
    EXPECT_EQ(places.size(), 47u);
    for (const char* name : {"札幌", "東京", "那覇", "さいたま", "津"}) {
        EXPECT_NE(horizon::findPlace(places, name), nullptr) << name;
    }
    EXPECT_NEAR(horizon::findPlace(places, "東京")->observer.latitude,
                horizon::tokyo().observer.latitude, 1e-8);
    const struct {
        const char* text;
        const char* message;
    } bad[] = {
        {"札幌\t43.0\n", "line 1: expected name"},
        {"# c\n札幌\t95\t141\n", "line 2: latitude"},
        {"札幌\t43\t141x\n", "line 1: latitude"},
        {"a\t1\t2\na\t1\t2\n", "line 2: a given twice"},
    };
    for (const auto& b : bad) {
        try {
            horizon::parsePlaces(b.text, "p.tsv");
            ADD_FAILURE() << b.text;
        } catch (const horizon::PlacesError& e) {
            EXPECT_NE(std::string(e.what()).find(b.message), std::string::npos) << e.what();
        }
    }
}

// The places whose times the observatory publishes are at its own points (whole arc-minutes
// but Tokyo's), every place names where its point comes from, and the observatory's quoted
// 大阪 minutes come out at the 大阪 entry.
TEST(HorizonRules, PlacesAtTheObservatorysPoints) {
    const auto places = horizon::loadPlaces(SORVANE_SOURCE_DIR "/data");
    const struct {
        const char* name;
        double latitude; // degrees and arc-minutes
        double longitude;
    } points[] = {
        {"京都", 35 + 1 / 60.0, 135 + 45 / 60.0},
        {"大阪", 34 + 41 / 60.0, 135 + 29 / 60.0},
        {"福岡", 33 + 35 / 60.0, 130 + 24 / 60.0},
        {"那覇", 26 + 13 / 60.0, 127 + 40 / 60.0},
        {"東京", horizon::tokyo().observer.latitude, horizon::tokyo().observer.longitude},
    };
    for (const auto& p : points) {
        const horizon::NamedPlace* place = horizon::findPlace(places, p.name);
        ASSERT_NE(place, nullptr) << p.name;
        EXPECT_NEAR(place->observer.latitude, p.latitude, 1e-8) << p.name;
        EXPECT_NEAR(place->observer.longitude, p.longitude, 1e-8) << p.name;
    }
    // Every place line has its source as a fourth field.
    std::ifstream file(SORVANE_SOURCE_DIR "/data/places.tsv");
    std::string line;
    int sourced = 0;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const auto fields = std::count(line.begin(), line.end(), '\t');
        EXPECT_EQ(fields, 3) << line;
        EXPECT_GT(line.size() - line.rfind('\t'), 4u) << line;
        ++sourced;
    }
    EXPECT_EQ(sourced, 47);

    const struct {
        CivilDate date;
        const char* sunrise;
        const char* sunset; // null: not quoted
    } osaka[] = {
        // 国立天文台の資料 as quoted at https://blog.goo.ne.jp/raishou0213/d/20111222 and
        // /20140122; the 2025 New Year's sunrise from the Yahoo article of the Tokyo test.
        {{2011, 12, 22}, "07:01", "16:51"},
        {{2014, 1, 22}, "07:02", "17:17"},
        {{2025, 1, 1}, "07:05", nullptr},
    };
    const horizon::Observer at = horizon::findPlace(places, "大阪")->observer;
    for (const auto& o : osaka) {
        const horizon::DayTimes d = dayAt(at, o.date);
        EXPECT_EQ(horizon::clockText(d.sunrise), o.sunrise) << o.date.year;
        if (o.sunset != nullptr) {
            EXPECT_EQ(horizon::clockText(d.sunset), o.sunset) << o.date.year;
        }
    }
}

// A places file that cannot serve is one line naming the file and its problem, status 1,
// never a wait (a named pipe) nor a usage error; a byte order mark is skipped.
TEST(HorizonCli, DamagedPlacesFileIsOneLineWithStatusOne) {
    namespace fs = std::filesystem;
    const fs::path shipped = fs::path(SORVANE_SOURCE_DIR) / "data" / "places.tsv";
    const struct {
        const char* what;
        std::function<void(const fs::path&)> damage;
        const char* message; // "" for a file that serves
    } cases[] = {
#ifndef _WIN32 // no named pipe in Windows' file system
        {"named pipe", [](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); },
         "places.tsv is not a regular file (a named pipe)"},
#endif
        {"directory", [](const fs::path& f) { fs::create_directory(f); },
         "places.tsv is a directory, not a places file"},
        {"empty", [](const fs::path& f) { std::ofstream{f}; }, "places.tsv is empty"},
        {"missing", [](const fs::path&) {},
         "places.tsv: cannot open DIR/places.tsv: No such file or directory"},
        {"byte order mark",
         [&](const fs::path& f) {
             std::ifstream in(shipped, std::ios::binary);
             std::ofstream(f, std::ios::binary) << "\xEF\xBB\xBF" << in.rdbuf();
         },
         ""},
    };
    const fs::path dir = fs::temp_directory_path() / ("sorvane-places-" + std::to_string(getpid()));
    for (const auto& c : cases) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        c.damage(dir / "places.tsv");
        const auto run =
            sorvane::testing::runCli("2025 --sun --place 京都 --data '" + dir.string() + "'");
        std::string message = c.message;
        if (const auto at = message.find("DIR"); at != std::string::npos) {
            message.replace(at, 3, dir.string());
        }
        if (message.empty()) {
            EXPECT_EQ(run.status, 0) << c.what << ": " << run.err;
            EXPECT_EQ(sorvane::testing::lines(run.out).size(), 365u) << c.what;
            continue;
        }
        EXPECT_EQ(run.status, 1) << c.what << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << c.what;
        EXPECT_NE(run.err.find(message), std::string::npos) << c.what << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.what << ": " << run.err;
        // --help still answers, naming the problem where it lists the places.
        const auto help = sorvane::testing::runCli("--help --data '" + dir.string() + "'");
        EXPECT_EQ(help.status, 0) << c.what;
        EXPECT_NE(help.out.find(message), std::string::npos) << c.what;
    }
    fs::remove_all(dir);
}

TEST(HorizonCli, SunListingAndRefusals) {
    const auto year = sorvane::testing::runCli("2025 --sun");
    ASSERT_EQ(year.status, 0) << year.err;
    const auto rows = sorvane::testing::lines(year.out);
    ASSERT_EQ(rows.size(), 365u);
    EXPECT_EQ(rows[0].substr(0, 17), "2025-01-01  06:51");

    const auto naha = sorvane::testing::runCli("2025 --sun --place 那覇");
    const auto coords =
        sorvane::testing::runCli("2025 --sun --lat 26.216666667 --lon 127.666666667");
    ASSERT_EQ(naha.status, 0) << naha.err;
    EXPECT_EQ(naha.out, coords.out);
    EXPECT_NE(naha.out, year.out);

    const auto json = sorvane::testing::runCli("2025 --sun --json --place 札幌");
    ASSERT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"name\": \"札幌\""), std::string::npos);
    EXPECT_NE(json.out.find("\"date\": \"2025-12-31\""), std::string::npos);
    EXPECT_NE(json.out.find("\"moonrise\": null"), std::string::npos);

    // The JSON says which polar days and nights a place has.
    const auto tromso = sorvane::testing::runCli("2025 --sun --json --lat 69.6496 --lon 18.956");
    ASSERT_EQ(tromso.status, 0);
    EXPECT_NE(tromso.out.find("\"polar\": \"day\""), std::string::npos);
    EXPECT_NE(tromso.out.find("\"polar\": \"night\""), std::string::npos);
    EXPECT_EQ(json.out.find("\"polar\""), std::string::npos);

    const auto far = sorvane::testing::runCli("1000 --sun");
    ASSERT_EQ(far.status, 0);
    EXPECT_NE(far.out.find("注：この年の時刻は±"), std::string::npos);

    const struct {
        const char* args;
        const char* names;
    } refused[] = {
        {"2025 --sun --lat 91 --lon 0", "--lat \"91\" is outside -90..90"},
        {"2025 --sun --lat 35 --lon -180.5", "--lon \"-180.5\" is outside -180..180"},
        {"2025 --sun --lat -35 --lon -.5x", "--lon \"-.5x\" is not a number"},
        {"2025 --sun --lat abc --lon 0", "--lat \"abc\" is not a number"},
        {"2025 --sun --lat 35", "--lat needs --lon"},
        {"2025 --sun --place 不明", "--place \"不明\" is not a known place"},
        {"2025 --place 札幌", "--place needs --sun"},
        {"2025 --sun --place 札幌 --lat 1 --lon 2", "--place and --lat cannot be combined"},
        {"2025 --sun --days", "--sun and --days cannot be combined"},
        {"2025 --sun --ics x.ics", "are not written as a calendar file"},
        {"3001 --sun", "--sun covers the years -1999..3000"},
    };
    for (const auto& r : refused) {
        const auto run = sorvane::testing::runCli(r.args);
        EXPECT_EQ(run.status, 2) << r.args;
        EXPECT_NE(run.err.find(r.names), std::string::npos) << r.args << ": " << run.err;
    }
    const auto help = sorvane::testing::runCli("--help");
    EXPECT_NE(help.out.find("那覇"), std::string::npos);
}

} // namespace
