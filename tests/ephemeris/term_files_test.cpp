// The two term files as they may really arrive: damaged, short, long, re-laid-out, written
// by other editors. Each bad file must give one line that names the file and, where it
// applies, the term and the field; each harmless variant must load exactly like the
// shipped file.
#include "ephemeris/tables.h"
#include "ephemeris/term_file_reader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#endif
#include <vector>

namespace sorvane {
namespace {

namespace fs = std::filesystem;

const fs::path kShippedDataDir = fs::path(SORVANE_SOURCE_DIR) / "data";

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The values of a shipped file, split the simple way: commas, blanks and line ends.
std::vector<std::string> valuesOf(const std::string& text) {
    std::vector<std::string> values;
    std::string current;
    for (char c : text) {
        if (c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (!current.empty()) {
                values.push_back(current);
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        values.push_back(current);
    }
    return values;
}

// Writes values, perTerm of them to a line, with the given separator and line end.
std::string layout(const std::vector<std::string>& values, std::size_t perTerm,
                   const std::string& separator, const std::string& lineEnd) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        text += values[i];
        const bool endOfTerm = (i + 1) % perTerm == 0;
        text += endOfTerm ? lineEnd : separator;
    }
    return text;
}

void expectSameTerms(const std::array<PlanetTerm, kPlanetTermCount + 1>& a,
                     const std::array<PlanetTerm, kPlanetTermCount + 1>& b) {
    for (int i = 1; i <= kPlanetTermCount; ++i) {
        SCOPED_TRACE("planet term " + std::to_string(i));
        EXPECT_EQ(a[i].planetCode, b[i].planetCode);
        EXPECT_EQ(a[i].planetMultiple, b[i].planetMultiple);
        EXPECT_EQ(a[i].sunMultiple, b[i].sunMultiple);
        EXPECT_EQ(a[i].longitudeAmplitude, b[i].longitudeAmplitude);
        EXPECT_EQ(a[i].longitudePhase, b[i].longitudePhase);
        EXPECT_EQ(a[i].radiusAmplitude, b[i].radiusAmplitude);
        EXPECT_EQ(a[i].radiusPhase, b[i].radiusPhase);
    }
}

void expectSameTerms(const std::array<LatitudeTerm, kLatitudeTermCount + 1>& a,
                     const std::array<LatitudeTerm, kLatitudeTermCount + 1>& b) {
    for (int i = 1; i <= kLatitudeTermCount; ++i) {
        SCOPED_TRACE("latitude term " + std::to_string(i));
        EXPECT_EQ(a[i].planetCode, b[i].planetCode);
        EXPECT_EQ(a[i].planetMultiple, b[i].planetMultiple);
        EXPECT_EQ(a[i].sunMultiple, b[i].sunMultiple);
        EXPECT_EQ(a[i].latitudeAmplitude, b[i].latitudeAmplitude);
        EXPECT_EQ(a[i].latitudePhase, b[i].latitudePhase);
    }
}

// The DataFileError message of a parse, or "" when the text loads.
template <typename Parse> std::string errorOf(Parse parse) {
    try {
        parse();
    } catch (const DataFileError& e) {
        return e.what();
    }
    return "";
}

std::string planetError(const std::string& text) {
    return errorOf([&] { parsePlanetTerms(text, "planet.txt"); });
}

std::string latitudeError(const std::string& text) {
    return errorOf([&] { parseLatitudeTerms(text, "latitude.txt"); });
}

// The shipped files as values, and loaded the normal way, for every test to vary.
class TermFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        planetText = readWhole(kShippedDataDir / "planet.txt");
        latitudeText = readWhole(kShippedDataDir / "latitude.txt");
        planetValues = valuesOf(planetText);
        latitudeValues = valuesOf(latitudeText);
        ASSERT_EQ(planetValues.size(), 120u * 7);
        ASSERT_EQ(latitudeValues.size(), 34u * 5);
        planet = parsePlanetTerms(planetText, "planet.txt");
        latitude = parseLatitudeTerms(latitudeText, "latitude.txt");
    }

    // The planet values with value number `index` (0-based, term-major) replaced.
    std::string planetWith(std::size_t index, const std::string& value) const {
        std::vector<std::string> v = planetValues;
        v[index] = value;
        return layout(v, 7, ", ", "\n");
    }
    std::string latitudeWith(std::size_t index, const std::string& value) const {
        std::vector<std::string> v = latitudeValues;
        v[index] = value;
        return layout(v, 5, ", ", "\n");
    }
    static std::size_t planetField(int term, int field) {
        return static_cast<std::size_t>((term - 1) * 7 + (field - 1));
    }
    static std::size_t latitudeField(int term, int field) {
        return static_cast<std::size_t>((term - 1) * 5 + (field - 1));
    }

    std::string planetText, latitudeText;
    std::vector<std::string> planetValues, latitudeValues;
    std::array<PlanetTerm, kPlanetTermCount + 1> planet{};
    std::array<LatitudeTerm, kLatitudeTermCount + 1> latitude{};
};

TEST_F(TermFiles, ShippedFilesLoadWithTheirWrittenValues) {
    const Tables tables = loadTables(kShippedDataDir);
    expectSameTerms(tables.planetTerms, planet);
    expectSameTerms(tables.latitudeTerms, latitude);
    // First and last term of each file against the text, converted independently.
    for (int term : {1, kPlanetTermCount}) {
        const PlanetTerm& t = planet[term];
        EXPECT_EQ(t.planetCode, std::atoi(planetValues[planetField(term, 1)].c_str()));
        EXPECT_EQ(t.planetMultiple, std::atoi(planetValues[planetField(term, 2)].c_str()));
        EXPECT_EQ(t.sunMultiple, std::atoi(planetValues[planetField(term, 3)].c_str()));
        EXPECT_EQ(t.longitudeAmplitude,
                  std::strtod(planetValues[planetField(term, 4)].c_str(), nullptr));
        EXPECT_EQ(t.longitudePhase,
                  std::strtod(planetValues[planetField(term, 5)].c_str(), nullptr));
        EXPECT_EQ(t.radiusAmplitude,
                  std::strtod(planetValues[planetField(term, 6)].c_str(), nullptr));
        EXPECT_EQ(t.radiusPhase, std::strtod(planetValues[planetField(term, 7)].c_str(), nullptr));
    }
    for (int term : {1, kLatitudeTermCount}) {
        const LatitudeTerm& t = latitude[term];
        EXPECT_EQ(t.planetCode, std::atoi(latitudeValues[latitudeField(term, 1)].c_str()));
        EXPECT_EQ(t.sunMultiple, std::atoi(latitudeValues[latitudeField(term, 3)].c_str()));
        EXPECT_EQ(t.latitudeAmplitude,
                  std::strtod(latitudeValues[latitudeField(term, 4)].c_str(), nullptr));
        EXPECT_EQ(t.latitudePhase,
                  std::strtod(latitudeValues[latitudeField(term, 5)].c_str(), nullptr));
    }
}

// Other layouts of the same values: any separator mix, line ends of other systems, a
// byte order mark, one line for everything. They load exactly as the shipped files.
TEST_F(TermFiles, OtherLayoutsOfTheSameValuesLoadTheSame) {
    struct Layout {
        const char* name;
        std::string planetText;
        std::string latitudeText;
    };
    const std::vector<Layout> layouts = {
        {"all values on one line", layout(planetValues, 7, ",", ","),
         layout(latitudeValues, 5, " ", " ") + "\n"},
        {"CR LF line ends", layout(planetValues, 7, ", ", "\r\n"),
         layout(latitudeValues, 5, ", ", "\r\n")},
        {"UTF-8 byte order mark", "\xEF\xBB\xBF" + planetText, "\xEF\xBB\xBF" + latitudeText},
        {"BOM and CR LF", "\xEF\xBB\xBF" + layout(planetValues, 7, ",", "\r\n"),
         "\xEF\xBB\xBF" + layout(latitudeValues, 5, ",", "\r\n")},
        {"tabs", layout(planetValues, 7, "\t", "\n"), layout(latitudeValues, 5, "\t", "\t")},
        {"one value a line, blank lines, no final line end",
         "\n\n" + layout(planetValues, 1, "", "\n\n"), layout(latitudeValues, 1, "", "  \n ")},
        {"commas with blanks on both sides", layout(planetValues, 7, " , ", " \n"),
         layout(latitudeValues, 5, " ,\t", ",\n")},
    };
    for (const Layout& l : layouts) {
        SCOPED_TRACE(l.name);
        std::array<PlanetTerm, kPlanetTermCount + 1> p{};
        ASSERT_NO_THROW(p = parsePlanetTerms(l.planetText, "planet.txt"));
        expectSameTerms(p, planet);
        std::array<LatitudeTerm, kLatitudeTermCount + 1> q{};
        ASSERT_NO_THROW(q = parseLatitudeTerms(l.latitudeText, "latitude.txt"));
        expectSameTerms(q, latitude);
    }
}

TEST_F(TermFiles, TermsAfterTheLastNeededOneAreNeverRead) {
    // A whole 121st term, then a partial one and text that is not a number at all.
    const std::string extraPlanet = "1, 2, 3, 4.5, 6.5, 7.5, 8.5\n9, 9\nnot numbers % here\n";
    std::array<PlanetTerm, kPlanetTermCount + 1> p{};
    ASSERT_NO_THROW(
        p = parsePlanetTerms(layout(planetValues, 7, ", ", "\n") + extraPlanet, "planet.txt"));
    expectSameTerms(p, planet);
    // Planet code 99 in the ignored 35th term is not checked either.
    std::array<LatitudeTerm, kLatitudeTermCount + 1> q{};
    ASSERT_NO_THROW(
        q = parseLatitudeTerms(latitudeText + "99, 1, 1, 0.5, 0.5\nxyz", "latitude.txt"));
    expectSameTerms(q, latitude);
}

TEST_F(TermFiles, FilesThatEndEarlyNameHowFarTheyGot) {
    EXPECT_EQ(planetError(""), "planet.txt: ends early: 0 of 120 terms");
    EXPECT_EQ(planetError(" \r\n\t,\n"), "planet.txt: ends early: 0 of 120 terms");
    EXPECT_EQ(planetError("\xEF\xBB\xBF"), "planet.txt: ends early: 0 of 120 terms");

    std::vector<std::string> v119(planetValues.begin(), planetValues.end() - 7);
    EXPECT_EQ(planetError(layout(v119, 7, ", ", "\n")), "planet.txt: ends early: 119 of 120 terms");
    std::vector<std::string> v119and3(planetValues.begin(), planetValues.end() - 4);
    EXPECT_EQ(planetError(layout(v119and3, 7, ", ", "\n")),
              "planet.txt: ends early: 119 of 120 terms (term 120 has 3 of 7 values)");

    EXPECT_EQ(latitudeError(""), "latitude.txt: ends early: 0 of 34 terms");
    std::vector<std::string> v33(latitudeValues.begin(), latitudeValues.end() - 5);
    EXPECT_EQ(latitudeError(layout(v33, 5, ", ", "\n")),
              "latitude.txt: ends early: 33 of 34 terms");
    std::vector<std::string> v33and4(latitudeValues.begin(), latitudeValues.end() - 1);
    EXPECT_EQ(latitudeError(layout(v33and4, 5, ", ", "\n")),
              "latitude.txt: ends early: 33 of 34 terms (term 34 has 4 of 5 values)");
}

TEST_F(TermFiles, IntegerFieldsTakeWholeNumbersInSixteenBits) {
    // A decimal point, even in a value that is otherwise whole, is not an integer field.
    EXPECT_EQ(planetError(planetWith(planetField(5, 2), "1.5")),
              "planet.txt: term 5, field 2 (planet multiple): \"1.5\" is not a whole number");
    EXPECT_EQ(planetError(planetWith(planetField(120, 3), "2.")),
              "planet.txt: term 120, field 3 (sun multiple): \"2.\" is not a whole number");
    EXPECT_EQ(planetError(planetWith(planetField(7, 1), "1e0")),
              "planet.txt: term 7, field 1 (planet code): \"1e0\" is not a whole number");
    EXPECT_EQ(latitudeError(latitudeWith(latitudeField(2, 3), "0.25")),
              "latitude.txt: term 2, field 3 (sun multiple): \"0.25\" is not a whole number");

    // The 16-bit range, both ends.
    EXPECT_EQ(planetError(planetWith(planetField(10, 2), "32768")),
              "planet.txt: term 10, field 2 (planet multiple): \"32768\" is outside -32768..32767");
    EXPECT_EQ(planetError(planetWith(planetField(10, 3), "-32769")),
              "planet.txt: term 10, field 3 (sun multiple): \"-32769\" is outside -32768..32767");
    EXPECT_EQ(planetError(planetWith(planetField(10, 3), "99999999999999999999999")),
              "planet.txt: term 10, field 3 (sun multiple): \"99999999999999999999999\" is "
              "outside -32768..32767");
    EXPECT_EQ(latitudeError(latitudeWith(latitudeField(34, 2), "32768")),
              "latitude.txt: term 34, field 2 (planet multiple): \"32768\" is outside "
              "-32768..32767");

    std::array<PlanetTerm, kPlanetTermCount + 1> p{};
    std::vector<std::string> v = planetValues;
    v[planetField(10, 2)] = "32767";
    v[planetField(10, 3)] = "-32768";
    v[planetField(11, 2)] = "+3";
    ASSERT_NO_THROW(p = parsePlanetTerms(layout(v, 7, ",", "\n"), "planet.txt"));
    EXPECT_EQ(p[10].planetMultiple, 32767);
    EXPECT_EQ(p[10].sunMultiple, -32768);
    EXPECT_EQ(p[11].planetMultiple, 3);
}

TEST_F(TermFiles, PlanetCodesOutsideOneToSixAreRefusedAtLoad) {
    EXPECT_EQ(planetError(planetWith(planetField(3, 1), "0")),
              "planet.txt: term 3, field 1 (planet code): 0 is not a planet code 1..6");
    EXPECT_EQ(planetError(planetWith(planetField(120, 1), "7")),
              "planet.txt: term 120, field 1 (planet code): 7 is not a planet code 1..6");
    EXPECT_EQ(planetError(planetWith(planetField(1, 1), "-1")),
              "planet.txt: term 1, field 1 (planet code): -1 is not a planet code 1..6");
    EXPECT_EQ(latitudeError(latitudeWith(latitudeField(1, 1), "0")),
              "latitude.txt: term 1, field 1 (planet code): 0 is not a planet code 1..6");
    EXPECT_EQ(latitudeError(latitudeWith(latitudeField(34, 1), "7")),
              "latitude.txt: term 34, field 1 (planet code): 7 is not a planet code 1..6");

    // Every code 1..6 is accepted, the Sun's own (3) included.
    std::vector<std::string> v = planetValues;
    for (int code = 1; code <= 6; ++code) {
        v[planetField(code, 1)] = std::to_string(code);
    }
    std::array<PlanetTerm, kPlanetTermCount + 1> p{};
    ASSERT_NO_THROW(p = parsePlanetTerms(layout(v, 7, ",", "\n"), "planet.txt"));
    for (int code = 1; code <= 6; ++code) {
        EXPECT_EQ(p[code].planetCode, code);
    }
}

TEST_F(TermFiles, ValuesThatAreNotNumbersNameTermAndField) {
    EXPECT_EQ(planetError(planetWith(planetField(60, 4), "abc")),
              "planet.txt: term 60, field 4 (longitude amplitude): \"abc\" is not a number");
    EXPECT_EQ(planetError(planetWith(planetField(60, 2), "x")),
              "planet.txt: term 60, field 2 (planet multiple): \"x\" is not a whole number");
    EXPECT_EQ(planetError(planetWith(planetField(61, 5), "1.2.3")),
              "planet.txt: term 61, field 5 (longitude phase): \"1.2.3\" is not a number");
    EXPECT_EQ(planetError(planetWith(planetField(62, 6), "12abc")),
              "planet.txt: term 62, field 6 (radius amplitude): \"12abc\" is not a number");
    EXPECT_EQ(planetError(planetWith(planetField(63, 7), "-")),
              "planet.txt: term 63, field 7 (radius phase): \"-\" is not a number");
    EXPECT_EQ(planetError(planetWith(planetField(64, 4), "--5")),
              "planet.txt: term 64, field 4 (longitude amplitude): \"--5\" is not a number");
    EXPECT_EQ(planetError(planetWith(planetField(64, 4), "+-5")),
              "planet.txt: term 64, field 4 (longitude amplitude): \"+-5\" is not a number");
    // Non-finite values would poison every sum of the theory.
    EXPECT_EQ(planetError(planetWith(planetField(65, 4), "inf")),
              "planet.txt: term 65, field 4 (longitude amplitude): \"inf\" is not a number");
    EXPECT_EQ(planetError(planetWith(planetField(65, 5), "NaN")),
              "planet.txt: term 65, field 5 (longitude phase): \"NaN\" is not a number");
    EXPECT_EQ(planetError(planetWith(planetField(66, 6), "1e999")),
              "planet.txt: term 66, field 6 (radius amplitude): \"1e999\" is out of range for a "
              "number");
    // A stray byte is shown escaped, so that the message stays one printable line.
    EXPECT_EQ(planetError(planetWith(planetField(67, 4), "0.5\xC2\xB0")),
              "planet.txt: term 67, field 4 (longitude amplitude): \"0.5\\xC2\\xB0\" is not a "
              "number");
    EXPECT_EQ(latitudeError(latitudeWith(latitudeField(17, 4), "abc")),
              "latitude.txt: term 17, field 4 (latitude amplitude): \"abc\" is not a number");

    // Forms a free-format reader does accept in a real field.
    std::vector<std::string> v = planetValues;
    v[planetField(2, 4)] = "-.5";
    v[planetField(2, 5)] = "+12";
    v[planetField(2, 6)] = "1.5E+2";
    v[planetField(2, 7)] = "7.";
    std::array<PlanetTerm, kPlanetTermCount + 1> p{};
    ASSERT_NO_THROW(p = parsePlanetTerms(layout(v, 7, ",", "\n"), "planet.txt"));
    EXPECT_EQ(p[2].longitudeAmplitude, -0.5);
    EXPECT_EQ(p[2].longitudePhase, 12.0);
    EXPECT_EQ(p[2].radiusAmplitude, 150.0);
    EXPECT_EQ(p[2].radiusPhase, 7.0);
}

// Files on disk: each test works in a folder of its own.
class DataFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() /
              ("sorvane-term-files-" + std::string(info->name()) + "-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        // Open to every user, as a data folder is, so that a user other than its owner reads it.
        fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
        fs::copy_file(kShippedDataDir / "planet.txt", dir / "planet.txt");
        fs::copy_file(kShippedDataDir / "latitude.txt", dir / "latitude.txt");
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir / "planet.txt", fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }

    std::string loadError() const {
        return errorOf([&] { loadTables(dir); });
    }

#ifndef _WIN32 // Windows' access rights are not POSIX permissions
    // loadError as a user without root's rights meets it: as root, in a child process that
    // runs as the user nobody and hands the message back through a pipe.
    std::string loadErrorWithoutRoot() const {
        if (geteuid() != 0) {
            return loadError();
        }
        const passwd* nobody = getpwnam("nobody");
        if (nobody == nullptr) {
            return "no user nobody to run as";
        }
        int ends[2];
        if (pipe(ends) != 0) {
            return "no pipe";
        }
        const pid_t child = fork();
        if (child == 0) {
            close(ends[0]);
            std::string message;
            if (setgroups(0, nullptr) != 0 ||
                setresgid(nobody->pw_gid, nobody->pw_gid, nobody->pw_gid) != 0 ||
                setresuid(nobody->pw_uid, nobody->pw_uid, nobody->pw_uid) != 0 || geteuid() == 0) {
                message = "could not give up root";
            } else {
                message = loadError();
            }
            const ssize_t written = write(ends[1], message.data(), message.size());
            _exit(written == static_cast<ssize_t>(message.size()) ? 0 : 1);
        }
        close(ends[1]);
        std::string message;
        char buffer[512];
        ssize_t n = 0;
        while ((n = read(ends[0], buffer, sizeof buffer)) > 0) {
            message.append(buffer, static_cast<std::size_t>(n));
        }
        close(ends[0]);
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? message : "the child failed";
    }
#endif

    fs::path dir;
};

TEST_F(DataFolder, MissingFileIsNamedWithItsPath) {
    fs::remove(dir / "planet.txt");
    EXPECT_EQ(loadError(), "planet.txt: cannot open " + (dir / "planet.txt").string() +
                               ": No such file or directory");
    fs::copy_file(kShippedDataDir / "planet.txt", dir / "planet.txt");
    fs::remove(dir / "latitude.txt");
    EXPECT_EQ(loadError(), "latitude.txt: cannot open " + (dir / "latitude.txt").string() +
                               ": No such file or directory");
}

TEST_F(DataFolder, DirectoryWhereTheFileShouldBe) {
    fs::remove(dir / "planet.txt");
    fs::create_directory(dir / "planet.txt");
    EXPECT_EQ(loadError(),
              "planet.txt: " + (dir / "planet.txt").string() + " is a directory, not a data file");
}

// A file the user may not read. Root reads any file, and the suite runs as root in CI: there the
// load runs in a child process that has given up root for the user nobody (as setpriv would),
// which may enter the folder and read the other file but not this one.
#ifndef _WIN32
TEST_F(DataFolder, FileWithoutReadPermission) {
    fs::permissions(dir / "planet.txt", fs::perms::none);
    EXPECT_EQ(loadErrorWithoutRoot(),
              "planet.txt: cannot open " + (dir / "planet.txt").string() + ": Permission denied");
}
#endif

TEST_F(DataFolder, BadFileStopsTheLoadWhicheverItIs) {
    std::ofstream(dir / "latitude.txt", std::ios::binary | std::ios::trunc) << "2, -1, 0, 0.03\n";
    EXPECT_EQ(loadError(), "latitude.txt: ends early: 0 of 34 terms (term 1 has 4 of 5 values)");
    std::ofstream(dir / "planet.txt", std::ios::binary | std::ios::trunc) << "";
    EXPECT_EQ(loadError(), "planet.txt: ends early: 0 of 120 terms");
}

TEST_F(DataFolder, FilesWrittenByAnotherSystemLoad) {
    const std::string planetText = readWhole(dir / "planet.txt");
    std::string crlf;
    for (char c : planetText) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    std::ofstream(dir / "planet.txt", std::ios::binary | std::ios::trunc) << "\xEF\xBB\xBF" << crlf;
    Tables tables;
    ASSERT_NO_THROW(tables = loadTables(dir));
    expectSameTerms(tables.planetTerms, loadTables(kShippedDataDir).planetTerms);
}

} // namespace
} // namespace sorvane
