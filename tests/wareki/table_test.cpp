// The table the program carries against the files it was made from: data/wareki/months.tsv
// and eras.tsv row for row, and those against the shared copy they were taken from when it
// is there. The files' Julian and Gregorian columns were computed by the table's makers from
// the JDN (data/wareki/SOURCE.md), so they check this folder's calendar conversions too.
#include "wareki/table.h"
#include "wareki/western.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace sorvane::wareki;

std::vector<std::vector<std::string>> readTsv(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::size_t from = 0;
        for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1) {
            fields.push_back(line.substr(from, tab - from));
        }
        fields.push_back(line.substr(from));
        rows.push_back(fields);
    }
    return rows;
}

const std::string kDataDir = SORVANE_SOURCE_DIR "/data/wareki/";

TEST(WarekiTable, MonthsEqualTheRepositoryFileRowForRow) {
    const auto rows = readTsv(kDataDir + "months.tsv");
    const auto table = monthRows();
    ASSERT_EQ(rows.size(), 23153U);
    ASSERT_EQ(table.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& f = rows[i];
        const MonthRow& r = table[i];
        ASSERT_EQ(f.size(), 7U) << "row " << i;
        SCOPED_TRACE("months.tsv row " + std::to_string(i + 2));
        EXPECT_EQ(std::to_string(r.jdnStart), f[0]);
        EXPECT_EQ(std::to_string(r.year), f[1]);
        EXPECT_EQ(std::to_string(r.month), f[2]);
        EXPECT_EQ(std::to_string(r.leap), f[3]);
        EXPECT_EQ(std::to_string(r.days), f[4]);
        EXPECT_EQ(isoText(westernDate(Western::Julian, r.jdnStart)), f[5]);
        EXPECT_EQ(isoText(westernDate(Western::Gregorian, r.jdnStart)), f[6]);
        if (i + 1 < rows.size()) {
            EXPECT_EQ(r.jdnStart + r.days, table[i + 1].jdnStart);
        }
    }
}

TEST(WarekiTable, ErasEqualTheRepositoryFileRowForRow) {
    const auto rows = readTsv(kDataDir + "eras.tsv");
    const auto table = eraRows();
    ASSERT_EQ(rows.size(), 279U);
    ASSERT_EQ(table.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& f = rows[i];
        const EraRow& r = table[i];
        ASSERT_EQ(f.size(), 15U) << "row " << i;
        SCOPED_TRACE("eras.tsv row " + std::to_string(i + 2) + " " + f[0]);
        EXPECT_EQ(r.name, f[0]);
        EXPECT_EQ(r.reading, f[1]);
        EXPECT_EQ(r.readingsOther, f[2]);
        EXPECT_EQ(r.type, f[3]);
        EXPECT_EQ(r.line, f[4]);
        EXPECT_EQ(r.event, f[5]);
        EXPECT_EQ(std::to_string(r.firstYear), f[6]);
        EXPECT_EQ(std::to_string(r.startJdn), f[7]);
        EXPECT_EQ(std::to_string(r.startYear), f[8]);
        EXPECT_EQ(std::to_string(r.startMonth), f[9]);
        EXPECT_EQ(std::to_string(r.startLeap), f[10]);
        EXPECT_EQ(std::to_string(r.startDay), f[11]);
        EXPECT_EQ(isoText(westernDate(Western::Julian, r.startJdn)), f[12]);
        EXPECT_EQ(isoText(westernDate(Western::Gregorian, r.startJdn)), f[13]);
        EXPECT_EQ(std::to_string(r.kaigenJdn), f[14]);
        if (i > 0) {
            EXPECT_LE(table[i - 1].startJdn, r.startJdn); // the order eraRows() promises
        }
    }
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// CI may not have the shared folder: then there is nothing to compare with.
TEST(WarekiTable, RepositoryFilesEqualTheSharedCopy) {
    const std::filesystem::path shared = SORVANE_SHARED_WAREKI_DIR;
    if (!std::filesystem::is_directory(shared)) {
        GTEST_SKIP() << shared << " is not here";
    }
    for (const char* name : {"months.tsv", "eras.tsv"}) {
        SCOPED_TRACE(name);
        const std::string ours = fileText(kDataDir + name);
        EXPECT_FALSE(ours.empty());
        EXPECT_TRUE(ours == fileText(shared / name));
    }
}

} // namespace
