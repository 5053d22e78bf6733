#include "ephemeris/term_file_reader.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace sorvane {

namespace {

// limit: the largest magnitude a real field may hold (0 for the integer fields, whose
// range is that of 16 bits). The largest terms of the theory are 7.2" in longitude, 0.21" in
// latitude and 7067e-9 in log10 of the radius; the limits leave room for any theory of this
// kind while keeping every sum finite and the Sun moving forward by whole degrees a day.
struct FieldSpec {
    const char* name;
    bool isInteger;
    double limit;
    const char* limitText;
};

constexpr double kAmplitudeLimit = 100; // arcseconds
constexpr double kRadiusLimit = 100000; // 1e-9 in log10 of the radius vector
constexpr double kPhaseLimit = 360;     // degrees

constexpr FieldSpec kPlanetFields[] = {
    {"planet code", true, 0, ""},
    {"planet multiple", true, 0, ""},
    {"sun multiple", true, 0, ""},
    {"longitude amplitude", false, kAmplitudeLimit, "-100..100 arcseconds"},
    {"longitude phase", false, kPhaseLimit, "-360..360 degrees"},
    {"radius amplitude", false, kRadiusLimit, "-100000..100000"},
    {"radius phase", false, kPhaseLimit, "-360..360 degrees"},
};

constexpr FieldSpec kLatitudeFields[] = {
    {"planet code", true, 0, ""},
    {"planet multiple", true, 0, ""},
    {"sun multiple", true, 0, ""},
    {"latitude amplitude", false, kAmplitudeLimit, "-100..100 arcseconds"},
    {"latitude phase", false, kPhaseLimit, "-360..360 degrees"},
};

// No real term file comes near this size (the shipped ones are 5 and 1 kilobytes).
constexpr std::size_t kMaxDataFileBytes = 1 << 20;

bool isSeparator(char c) {
    return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// A value as it may appear in a one-line message: at most 40 bytes, control and non-ASCII
// bytes written as \xNN.
std::string printable(std::string_view token) {
    std::string out;
    for (std::size_t i = 0; i < token.size() && i < 40; ++i) {
        const auto c = static_cast<unsigned char>(token[i]);
        if (c < 0x20 || c >= 0x7f || c == '"' || c == '\\') {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (token.size() > 40) {
        out += "...";
    }
    return out;
}

// Splits the text into its values, one at a time.
class ValueScanner {
  public:
    explicit ValueScanner(std::string_view text) : text_(text) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") { // UTF-8 byte order mark
            text_.remove_prefix(3);
        }
    }

    bool next(std::string_view& token) {
        while (pos_ < text_.size() && isSeparator(text_[pos_])) {
            ++pos_;
        }
        if (pos_ >= text_.size()) {
            return false;
        }
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !isSeparator(text_[pos_])) {
            ++pos_;
        }
        token = text_.substr(start, pos_ - start);
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

class TermParser {
  public:
    TermParser(std::string_view text, const std::string& fileName, int termCount,
               const FieldSpec* fields, int fieldCount)
        : scanner_(text), fileName_(fileName), termCount_(termCount), fields_(fields),
          fieldCount_(fieldCount) {}

    // All values of all terms, term by term, field by field.
    std::vector<double> parse() {
        std::vector<double> values;
        values.reserve(static_cast<std::size_t>(termCount_ * fieldCount_));
        for (int term = 1; term <= termCount_; ++term) {
            for (int field = 0; field < fieldCount_; ++field) {
                std::string_view token;
                if (!scanner_.next(token)) {
                    endedEarly(term, field);
                }
                values.push_back(convert(token, term, field));
            }
        }
        return values;
    }

    [[noreturn]] void fail(int term, int field, const std::string& what) const {
        throw DataFileError(fileName_ + ": term " + std::to_string(term) + ", field " +
                            std::to_string(field + 1) + " (" + fields_[field].name + "): " + what);
    }

  private:
    [[noreturn]] void endedEarly(int term, int field) const {
        std::string message = fileName_ + ": ends early: " + std::to_string(term - 1) + " of " +
                              std::to_string(termCount_) + " terms";
        if (field > 0) {
            message += " (term " + std::to_string(term) + " has " + std::to_string(field) + " of " +
                       std::to_string(fieldCount_) + " values)";
        }
        throw DataFileError(message);
    }

    double convert(std::string_view token, int term, int field) const {
        const std::string shown = "\"" + printable(token) + "\"";
        std::string_view digits = token;
        bool negative = false;
        if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
            negative = digits[0] == '-';
            digits.remove_prefix(1);
        }
        if (fields_[field].isInteger) {
            return convertInteger(digits, negative, shown, term, field);
        }
        // from_chars takes a minus sign of its own: a second sign ("--5", "+-5") is no number.
        if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
            fail(term, field, shown + " is not a number");
        }
        double value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        const bool whole = end == digits.data() + digits.size();
        if (digits.empty() || !whole ||
            (ec != std::errc() && ec != std::errc::result_out_of_range) ||
            (ec == std::errc() && !std::isfinite(value))) {
            fail(term, field, shown + " is not a number");
        }
        if (ec == std::errc::result_out_of_range) {
            fail(term, field, shown + " is out of range for a number");
        }
        if (!(std::fabs(value) <= fields_[field].limit)) {
            fail(term, field, shown + " is outside " + fields_[field].limitText);
        }
        return negative ? -value : value;
    }

    double convertInteger(std::string_view digits, bool negative, const std::string& shown,
                          int term, int field) const {
        if (digits.empty()) {
            fail(term, field, shown + " is not a whole number");
        }
        long long magnitude = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') {
                fail(term, field, shown + " is not a whole number");
            }
            if (magnitude <= 40000) { // anything beyond is out of range; stop growing
                magnitude = magnitude * 10 + (c - '0');
            }
        }
        const long long value = negative ? -magnitude : magnitude;
        if (value < -32768 || value > 32767) {
            fail(term, field, shown + " is outside -32768..32767");
        }
        return static_cast<double>(value);
    }

    ValueScanner scanner_;
    const std::string& fileName_;
    int termCount_;
    const FieldSpec* fields_;
    int fieldCount_;
};

template <typename Term>
void checkPlanetCode(const Term& term, int index, const TermParser& parser) {
    if (term.planetCode < 1 || term.planetCode > 6) {
        parser.fail(index, 0, std::to_string(term.planetCode) + " is not a planet code 1..6");
    }
}

} // namespace

std::string readDataFile(const std::filesystem::path& path, std::size_t valuesNeeded) {
    const std::string name = path.filename().string();
    const auto failure = [&](const std::string& what, int err) {
        return DataFileError(name + ": " + what + " " + path.string() + ": " +
                             (err != 0 ? std::strerror(err) : "unknown error"));
    };
    // Opened without blocking, so that a named pipe nobody writes to is refused below
    // instead of waiting for a writer; a regular file reads the same either way.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw failure("cannot open", errno);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw failure("cannot read", errno);
    }
    if (S_ISDIR(info.st_mode)) {
        throw DataFileError(name + ": " + path.string() + " is a directory, not a data file");
    }
    if (!S_ISREG(info.st_mode)) {
        const char* kind = S_ISFIFO(info.st_mode)   ? "a named pipe"
                           : S_ISCHR(info.st_mode)  ? "a character device"
                           : S_ISBLK(info.st_mode)  ? "a block device"
                           : S_ISSOCK(info.st_mode) ? "a socket"
                                                    : "a special file";
        throw DataFileError(name + ": " + path.string() + " is not a regular file (" + kind + ")");
    }
    const std::string tooLarge = name + ": " + path.string() + " is larger than " +
                                 std::to_string(kMaxDataFileBytes) +
                                 " bytes, far more than a term file holds";
    if (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) > kMaxDataFileBytes) {
        throw DataFileError(tooLarge);
    }
    // Read in blocks until the values needed are complete (a value is complete once a
    // separator follows it), the file ends, or the size limit is passed.
    std::string content;
    std::size_t values = 0;
    bool inValue = false;
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw failure("cannot read", errno);
        }
        if (n == 0) {
            break;
        }
        for (ssize_t i = 0; i < n; ++i) {
            const bool separator = isSeparator(block[i]);
            values += (inValue && separator) ? 1 : 0;
            inValue = !separator;
        }
        content.append(block, static_cast<std::size_t>(n));
        if (valuesNeeded != 0 && values >= valuesNeeded) {
            break;
        }
        if (content.size() > kMaxDataFileBytes) {
            throw DataFileError(tooLarge);
        }
    }
    return content;
}

std::array<PlanetTerm, kPlanetTermCount + 1> parsePlanetTerms(std::string_view text,
                                                              const std::string& fileName) {
    TermParser parser(text, fileName, kPlanetTermCount, kPlanetFields, 7);
    const std::vector<double> v = parser.parse();
    std::array<PlanetTerm, kPlanetTermCount + 1> terms{};
    for (int i = 1; i <= kPlanetTermCount; ++i) {
        const double* f = &v[static_cast<std::size_t>((i - 1) * 7)];
        PlanetTerm& t = terms[i];
        t.planetCode = static_cast<std::int16_t>(f[0]);
        t.planetMultiple = static_cast<std::int16_t>(f[1]);
        t.sunMultiple = static_cast<std::int16_t>(f[2]);
        t.longitudeAmplitude = f[3];
        t.longitudePhase = f[4];
        t.radiusAmplitude = f[5];
        t.radiusPhase = f[6];
        checkPlanetCode(t, i, parser);
    }
    return terms;
}

std::array<LatitudeTerm, kLatitudeTermCount + 1> parseLatitudeTerms(std::string_view text,
                                                                    const std::string& fileName) {
    TermParser parser(text, fileName, kLatitudeTermCount, kLatitudeFields, 5);
    const std::vector<double> v = parser.parse();
    std::array<LatitudeTerm, kLatitudeTermCount + 1> terms{};
    for (int i = 1; i <= kLatitudeTermCount; ++i) {
        const double* f = &v[static_cast<std::size_t>((i - 1) * 5)];
        LatitudeTerm& t = terms[i];
        t.planetCode = static_cast<std::int16_t>(f[0]);
        t.planetMultiple = static_cast<std::int16_t>(f[1]);
        t.sunMultiple = static_cast<std::int16_t>(f[2]);
        t.latitudeAmplitude = f[3];
        t.latitudePhase = f[4];
        checkPlanetCode(t, i, parser);
    }
    return terms;
}

} // namespace sorvane
