#include "ephemeris/term_file_reader.h"

#include "calendar/decimal_number.h"
#include "calendar/file_reading.h"
#include "calendar/path_text.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace sorvane {

namespace {

// limit: the largest magnitude a real field may hold (0 for the integer fields, whose
// range is that of 16 bits). The largest terms of the theory are 7.2" in longitude, 0.21" in
// latitude and 7067e-9 in log10 of the radius; the limits leave room for any theory of this
// kind while keeping every sum finite and the Sun moving forward by whole degrees a day.
struct FieldSpec {
    DataFileError::Field kind;
    bool isInteger;
    double limit;
    DataFileError::Unit unit;
};

using Field = DataFileError::Field;
using Unit = DataFileError::Unit;
using Code = DataFileError::Code;

constexpr double kAmplitudeLimit = 100; // arcseconds
constexpr double kRadiusLimit = 100000; // 1e-9 in log10 of the radius vector
constexpr double kPhaseLimit = 360;     // degrees

constexpr FieldSpec kPlanetFields[] = {
    {Field::PlanetCode, true, 0, Unit::None},
    {Field::PlanetMultiple, true, 0, Unit::None},
    {Field::SunMultiple, true, 0, Unit::None},
    {Field::LongitudeAmplitude, false, kAmplitudeLimit, Unit::Arcseconds},
    {Field::LongitudePhase, false, kPhaseLimit, Unit::Degrees},
    {Field::RadiusAmplitude, false, kRadiusLimit, Unit::None},
    {Field::RadiusPhase, false, kPhaseLimit, Unit::Degrees},
};

constexpr FieldSpec kLatitudeFields[] = {
    {Field::PlanetCode, true, 0, Unit::None},
    {Field::PlanetMultiple, true, 0, Unit::None},
    {Field::SunMultiple, true, 0, Unit::None},
    {Field::LatitudeAmplitude, false, kAmplitudeLimit, Unit::Arcseconds},
    {Field::LatitudePhase, false, kPhaseLimit, Unit::Degrees},
};

const char* fieldName(Field field) {
    switch (field) {
    case Field::PlanetCode:
        return "planet code";
    case Field::PlanetMultiple:
        return "planet multiple";
    case Field::SunMultiple:
        return "sun multiple";
    case Field::LongitudeAmplitude:
        return "longitude amplitude";
    case Field::LongitudePhase:
        return "longitude phase";
    case Field::RadiusAmplitude:
        return "radius amplitude";
    case Field::RadiusPhase:
        return "radius phase";
    case Field::LatitudeAmplitude:
        return "latitude amplitude";
    case Field::LatitudePhase:
        return "latitude phase";
    }
    return "";
}

const char* specialName(DataFileError::Special special) {
    switch (special) {
    case DataFileError::Special::NamedPipe:
        return "a named pipe";
    case DataFileError::Special::CharacterDevice:
        return "a character device";
    case DataFileError::Special::BlockDevice:
        return "a block device";
    case DataFileError::Special::Socket:
        return "a socket";
    case DataFileError::Special::Other:
        break;
    }
    return "a special file";
}

// The English line of what(): "<file>: <what>", naming the term and the field where one is
// at fault.
std::string englishText(Code code, const DataFileError::Details& d) {
    const std::string reason = d.systemError != 0 ? std::strerror(d.systemError) : "unknown error";
    const std::string value = "\"" + d.value + "\"";
    std::string problem;
    switch (code) {
    case Code::CannotOpen:
        return d.file + ": cannot open " + d.path + ": " + reason;
    case Code::CannotRead:
        return d.file + ": cannot read " + d.path + ": " + reason;
    case Code::Directory:
        return d.file + ": " + d.path + " is a directory, not a data file";
    case Code::NotRegular:
        return d.file + ": " + d.path + " is not a regular file (" + specialName(d.special) + ")";
    case Code::TooLarge:
        return d.file + ": " + d.path + " is larger than " + std::to_string(d.limitBytes) +
               " bytes, far more than a term file holds";
    case Code::EndsEarly: {
        std::string message = d.file + ": ends early: " + std::to_string(d.term - 1) + " of " +
                              std::to_string(d.termCount) + " terms";
        if (d.field > 0) {
            message += " (term " + std::to_string(d.term) + " has " + std::to_string(d.field) +
                       " of " + std::to_string(d.fieldCount) + " values)";
        }
        return message;
    }
    case Code::NotANumber:
        problem = value + " is not a number";
        break;
    case Code::NumberOverflow:
        problem = value + " is out of range for a number";
        break;
    case Code::NotWhole:
        problem = value + " is not a whole number";
        break;
    case Code::OutsideLimits:
        problem = value + " is outside " + std::to_string(d.lowest) + ".." +
                  std::to_string(d.highest) +
                  (d.unit == Unit::Arcseconds ? " arcseconds"
                   : d.unit == Unit::Degrees  ? " degrees"
                                              : "");
        break;
    case Code::NotPlanetCode:
        problem = d.value + " is not a planet code " + std::to_string(d.lowest) + ".." +
                  std::to_string(d.highest);
        break;
    }
    return d.file + ": term " + std::to_string(d.term) + ", field " + std::to_string(d.field) +
           " (" + fieldName(d.fieldKind) + "): " + problem;
}

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

    // The value `value` of field `field` (0-based) of term `term` is at fault.
    [[noreturn]] void fail(Code code, int term, int field, const std::string& value) const {
        DataFileError::Details d;
        d.file = fileName_;
        d.term = term;
        d.field = field + 1;
        d.fieldKind = fields_[field].kind;
        d.value = value;
        if (code == Code::OutsideLimits) {
            const bool integer = fields_[field].isInteger;
            d.lowest = integer ? -32768 : -static_cast<long long>(fields_[field].limit);
            d.highest = integer ? 32767 : static_cast<long long>(fields_[field].limit);
            d.unit = fields_[field].unit;
        } else if (code == Code::NotPlanetCode) {
            d.lowest = 1;
            d.highest = 6;
        }
        throw DataFileError(code, d);
    }

  private:
    [[noreturn]] void endedEarly(int term, int field) const {
        DataFileError::Details d;
        d.file = fileName_;
        d.term = term;
        d.field = field;
        d.termCount = termCount_;
        d.fieldCount = fieldCount_;
        throw DataFileError(Code::EndsEarly, d);
    }

    double convert(std::string_view token, int term, int field) const {
        const std::string shown = printable(token);
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
            fail(Code::NotANumber, term, field, shown);
        }
        double value = 0;
        const auto [end, ec] = parseDouble(digits.data(), digits.data() + digits.size(), value);
        const bool whole = end == digits.data() + digits.size();
        if (digits.empty() || !whole ||
            (ec != std::errc() && ec != std::errc::result_out_of_range) ||
            (ec == std::errc() && !std::isfinite(value))) {
            fail(Code::NotANumber, term, field, shown);
        }
        if (ec == std::errc::result_out_of_range) {
            fail(Code::NumberOverflow, term, field, shown);
        }
        if (!(std::fabs(value) <= fields_[field].limit)) {
            fail(Code::OutsideLimits, term, field, shown);
        }
        return negative ? -value : value;
    }

    double convertInteger(std::string_view digits, bool negative, const std::string& shown,
                          int term, int field) const {
        if (digits.empty()) {
            fail(Code::NotWhole, term, field, shown);
        }
        long long magnitude = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') {
                fail(Code::NotWhole, term, field, shown);
            }
            if (magnitude <= 40000) { // anything beyond is out of range; stop growing
                magnitude = magnitude * 10 + (c - '0');
            }
        }
        const long long value = negative ? -magnitude : magnitude;
        if (value < -32768 || value > 32767) {
            fail(Code::OutsideLimits, term, field, shown);
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
        parser.fail(Code::NotPlanetCode, index, 0, std::to_string(term.planetCode));
    }
}

} // namespace

DataFileError::DataFileError(Code code, Details details)
    : std::runtime_error(englishText(code, details)), code_(code), details_(std::move(details)) {}

std::string readDataFile(const std::filesystem::path& path, std::size_t valuesNeeded) {
    DataFileError::Details file;
    file.file = pathText(path.filename());
    file.path = pathText(path);
    const auto failure = [&](Code code, int err) {
        DataFileError::Details d = file;
        d.systemError = err;
        return DataFileError(code, d);
    };
    ReadOnlyFile in(path);
    if (in.openFailed()) {
        throw failure(Code::CannotOpen, in.error());
    }
    if (in.error() != 0) {
        throw failure(Code::CannotRead, in.error());
    }
    if (in.kind() == FileKind::Directory) {
        throw DataFileError(Code::Directory, file);
    }
    if (in.kind() != FileKind::Regular) {
        using Special = DataFileError::Special;
        DataFileError::Details d = file;
        switch (in.kind()) {
        case FileKind::NamedPipe:
            d.special = Special::NamedPipe;
            break;
        case FileKind::CharacterDevice:
            d.special = Special::CharacterDevice;
            break;
        case FileKind::BlockDevice:
            d.special = Special::BlockDevice;
            break;
        case FileKind::Socket:
            d.special = Special::Socket;
            break;
        case FileKind::Regular:
        case FileKind::Directory:
        case FileKind::Other:
            d.special = Special::Other;
            break;
        }
        throw DataFileError(Code::NotRegular, d);
    }
    DataFileError::Details tooLarge = file;
    tooLarge.limitBytes = kMaxDataFileBytes;
    if (in.size() > kMaxDataFileBytes) {
        throw DataFileError(Code::TooLarge, tooLarge);
    }
    // Read in blocks until the values needed are complete (a value is complete once a
    // separator follows it), the file ends, or the size limit is passed.
    std::string content;
    std::size_t values = 0;
    bool inValue = false;
    char block[65536];
    for (;;) {
        const long n = in.read(block, sizeof block);
        if (n < 0) {
            throw failure(Code::CannotRead, errno);
        }
        if (n == 0) {
            break;
        }
        for (long i = 0; i < n; ++i) {
            const bool separator = isSeparator(block[i]);
            values += (inValue && separator) ? 1 : 0;
            inValue = !separator;
        }
        content.append(block, static_cast<std::size_t>(n));
        if (valuesNeeded != 0 && values >= valuesNeeded) {
            break;
        }
        if (content.size() > kMaxDataFileBytes) {
            throw DataFileError(Code::TooLarge, tooLarge);
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
