// The version is written in one place, the project version of the top-level CMakeLists.txt
// (SORVANE_PROJECT_VERSION here, handed over by CMake); every place that shows it must show
// that one: sorvane-cli --version, the PRODID of a calendar file and of a feed (RFC 5545
// 3.7.3), the newest entry of doc/changes.md, the Debian changelog made from it, the AppStream
// releases, and the web page's footer placeholder (filled by tools/web.sh; the browser test
// compares the built page with sorvane-cli --version). The About box is checked by the window
// tests against the same version.
#include "support/test_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>

namespace {

using sorvane::testing::runCli;

const std::string kProject = SORVANE_PROJECT_VERSION;

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The value of the first line of text that starts with name.
std::string lineValue(const std::string& text, const std::string& name) {
    for (const std::string& line : sorvane::testing::lines(text)) {
        if (line.rfind(name, 0) == 0) {
            std::string value = line.substr(name.size());
            if (!value.empty() && value.back() == '\r') {
                value.pop_back();
            }
            return value;
        }
    }
    return "";
}

TEST(Version, EveryPlaceShowsTheProjectVersion) {
    ASSERT_TRUE(std::regex_match(kProject, std::regex("[0-9]+\\.[0-9]+\\.[0-9]+")));

    const auto version = runCli("--version");
    ASSERT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, "sorvane-cli " + kProject + "\n");

    const std::string productId = "-//Sorvane//Sorvane " + kProject + "//JA";
    const struct {
        const char* what;
        const char* args;
    } calendars[] = {
        {"a year's calendar file", "2026 --ics -"},
        {"the days found", "--find 天赦日 --from 2026-01-01 --to 2026-12-31 --ics -"},
        {"a feed", "--feed holidays --from 2026 --to 2026"},
    };
    for (const auto& c : calendars) {
        const auto run = runCli(c.args);
        ASSERT_EQ(run.status, 0) << c.what << ": " << run.err;
        EXPECT_EQ(lineValue(run.out, "PRODID:"), productId) << c.what;
    }

    // doc/changes.md: the newest entry, and its Japanese and English sections.
    const std::string changes = fileText(std::string(SORVANE_SOURCE_DIR) + "/doc/changes.md");
    std::smatch newest;
    ASSERT_TRUE(std::regex_search(changes, newest,
                                  std::regex("\n## ([0-9]+\\.[0-9]+\\.[0-9]+) \\([0-9-]+\\)\n")));
    EXPECT_EQ(newest[1].str(), kProject);
    const std::string entry = changes.substr(static_cast<std::size_t>(newest.position(0)));
    const std::size_t next = entry.find("\n## ", 1);
    const std::string body = entry.substr(0, next);
    EXPECT_NE(body.find("\n### 日本語\n"), std::string::npos) << body;
    EXPECT_NE(body.find("\n### English\n"), std::string::npos) << body;

    // The Debian changelog the build made: its first entry.
    const std::string changelog = fileText(std::string(SORVANE_BINARY_DIR) + "/doc/changelog");
    EXPECT_EQ(sorvane::testing::lines(changelog).front(),
              "sorvane (" + kProject + ") unstable; urgency=medium");

    // The AppStream releases, where the desktop program is built.
    const std::string metainfo =
        std::string(SORVANE_BINARY_DIR) + "/ui/org.example.sorvane.metainfo.xml";
    if (std::filesystem::exists(metainfo)) {
        std::smatch release;
        const std::string xml = fileText(metainfo);
        ASSERT_TRUE(std::regex_search(xml, release, std::regex("<release version=\"([^\"]+)\"")));
        EXPECT_EQ(release[1].str(), kProject);
    }

    // The web page's footer holds the placeholder tools/web.sh fills from the build's version.
    const std::string page = fileText(std::string(SORVANE_SOURCE_DIR) + "/web/site/index.html");
    EXPECT_NE(page.find("<span id=\"version\">@SORVANE_VERSION@</span>"), std::string::npos);
}

// Every version of the change list in order, newest first, each with both languages, and the
// Debian changelog holding every one of them.
TEST(Version, ChangeListIsInOrderAndWhole) {
    const std::string changes = fileText(std::string(SORVANE_SOURCE_DIR) + "/doc/changes.md");
    const std::string changelog = fileText(std::string(SORVANE_BINARY_DIR) + "/doc/changelog");
    const std::regex heading("\n## ([0-9]+)\\.([0-9]+)\\.([0-9]+) \\(([0-9-]+)\\)\n");
    int versions = 0;
    int last[3] = {1 << 30, 0, 0};
    for (auto it = std::sregex_iterator(changes.begin(), changes.end(), heading);
         it != std::sregex_iterator(); ++it) {
        const int v[3] = {std::stoi((*it)[1]), std::stoi((*it)[2]), std::stoi((*it)[3])};
        const std::string name = (*it)[1].str() + "." + (*it)[2].str() + "." + (*it)[3].str();
        EXPECT_TRUE(std::lexicographical_compare(v, v + 3, last, last + 3)) << name;
        std::copy(v, v + 3, last);
        const std::string entry = "sorvane (" + name + ") unstable";
        const bool listed =
            changelog.rfind(entry, 0) == 0 || changelog.find("\n" + entry) != std::string::npos;
        EXPECT_TRUE(listed) << name << " is missing from the Debian changelog";
        ++versions;
    }
    EXPECT_GE(versions, 2);
    const auto count = [](const std::string& text, const std::string& what) {
        int n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos;
             at = text.find(what, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(count(changes, "\n### 日本語\n"), versions);
    EXPECT_EQ(count(changes, "\n### English\n"), versions);
    EXPECT_EQ(count(changelog, " unstable; urgency=medium\n"), versions);
}

} // namespace
