#include "precise/jpl_ephemeris.h"

#include "precise/jpl_table.h"

#include <algorithm>
#include <array>
#include <dlfcn.h>
#include <filesystem>
#include <initializer_list>

namespace sorvane::precise {

namespace {

constexpr double kMjdZero = 2400000.5; // Julian date of MJD 0

// The DE405 pointers (counted from 1, with the record's two dates) of the kept series.
constexpr int kMoonPointer = 441;
constexpr int kBarycentrePointer = 231;
constexpr int kSunPointer = 753;
constexpr int kRecordLength = 1018; // DE405's record, in doubles, with its two dates
constexpr const char* kReaderModule = "sorvane_jpl_table.so";

struct Kept {
    int pointer;
    int coefficients;
    int intervals;
};
constexpr Kept kMoon{kMoonPointer, 13, 8};
constexpr Kept kBarycentre{kBarycentrePointer, 13, 2};
constexpr Kept kSun{kSunPointer, 11, 2};

constexpr int length(const Kept& k) {
    return 3 * k.coefficients * k.intervals;
}
static_assert(length(kMoon) + length(kBarycentre) + length(kSun) == kKeptPerRecord);

// The reader module's functions (precise/jpl_table.h).
struct Reader {
    decltype(&sorvane_jpl_open) open = nullptr;
    decltype(&sorvane_jpl_record) record = nullptr;
    decltype(&sorvane_jpl_close) close = nullptr;
    decltype(&sorvane_jpl_measures_directory) measuresDirectory = nullptr;
};

// The module's file: beside the program (the build tree), in ../lib/sorvane from it (an
// unpacked package) or where the package installs it.
Reader loadReader() {
    Reader r;
    std::vector<std::filesystem::path> places;
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        places.push_back(self.parent_path() / kReaderModule);
        places.push_back(self.parent_path() / "../lib/sorvane" / kReaderModule);
    }
    places.push_back(std::filesystem::path(SORVANE_JPL_MODULE_DIR) / kReaderModule);
    for (const auto& place : places) {
        if (!std::filesystem::exists(place, ec)) {
            continue;
        }
        void* handle = ::dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            continue;
        }
        r.open = reinterpret_cast<decltype(r.open)>(::dlsym(handle, "sorvane_jpl_open"));
        r.record = reinterpret_cast<decltype(r.record)>(::dlsym(handle, "sorvane_jpl_record"));
        r.close = reinterpret_cast<decltype(r.close)>(::dlsym(handle, "sorvane_jpl_close"));
        r.measuresDirectory = reinterpret_cast<decltype(r.measuresDirectory)>(
            ::dlsym(handle, "sorvane_jpl_measures_directory"));
        if (r.open != nullptr && r.record != nullptr && r.close != nullptr &&
            r.measuresDirectory != nullptr) {
            return r;
        }
        r = Reader{};
    }
    return r;
}

// The module, opened the first time the table is needed and kept (never unloaded).
const Reader* reader() {
    static const Reader r = loadReader();
    return r.open != nullptr ? &r : nullptr;
}

} // namespace

std::unique_ptr<JplEphemeris> JplEphemeris::load(const std::string& table) {
    std::error_code ec;
    const Reader* r = reader();
    if (r == nullptr || !std::filesystem::exists(table + "/table.dat", ec)) {
        return nullptr;
    }
    SorvaneJplHeader header{};
    void* t = r->open(table.c_str(), &header);
    if (t == nullptr) {
        return nullptr;
    }
    std::unique_ptr<JplEphemeris> e(new JplEphemeris);
    e->table_ = t;
    std::array<double, kRecordLength> first{};
    double mjd = 0;
    if (header.number != 405 || header.records == 0 ||
        r->record(t, 0, &mjd, first.data(), first.size()) + 2 < kRecordLength) {
        return nullptr;
    }
    e->earthMoonRatio_ = header.earthMoonRatio;
    e->kmPerAu_ = header.kmPerAu;
    e->records_ = header.records;
    e->firstJd_ = mjd + kMjdZero;
    e->state_.assign(e->records_, Record::Unread);
    e->kept_.assign(e->records_ * kKeptPerRecord, 0.0);
    return e;
}

JplEphemeris::~JplEphemeris() {
    if (table_ != nullptr) {
        reader()->close(table_);
    }
}

bool JplEphemeris::covers(double jdTT) const {
    if (!(jdTT >= firstJd() && jdTT < lastJd())) {
        return false;
    }
    const auto record = static_cast<std::size_t>((jdTT - firstJd_) / kRecordDays);
    const std::lock_guard<std::mutex> lock(reading_);
    if (state_[record] == Record::Unread) {
        std::array<double, kRecordLength> c{};
        double mjd = 0;
        state_[record] = Record::Unreadable;
        // A whole DE405 record, following the first without a gap.
        if (reader()->record(table_, record, &mjd, c.data(), c.size()) + 2 >= kRecordLength &&
            mjd + kMjdZero == firstJd_ + kRecordDays * static_cast<double>(record)) {
            auto to = kept_.begin() + static_cast<std::ptrdiff_t>(record * kKeptPerRecord);
            for (const Kept& k : {kMoon, kBarycentre, kSun}) {
                const auto from = c.begin() + (k.pointer - 3);
                to = std::copy(from, from + length(k), to);
            }
            state_[record] = Record::Read;
        }
    }
    return state_[record] == Record::Read;
}

void JplEphemeris::evaluate(const Series& s, double jd, double pv[2][3]) const {
    const double sinceFirst = jd - firstJd_;
    const auto record = static_cast<std::size_t>(sinceFirst / kRecordDays);
    const double span = kRecordDays / s.intervals;
    const double inRecord = sinceFirst - kRecordDays * static_cast<double>(record);
    const int interval = std::min(static_cast<int>(inRecord / span), s.intervals - 1);
    // The Chebyshev argument, -1..1 over the sub-interval.
    const double x = 2.0 * (inRecord - span * interval) / span - 1.0;
    const double* c = kept_.data() + record * kKeptPerRecord + s.offset +
                      static_cast<std::size_t>(3 * s.coefficients * interval);
    for (int k = 0; k < 3; ++k) {
        const double* ck = c + k * s.coefficients;
        // T_n(x) and T_n'(x) by their recurrences.
        double t0 = 1;
        double t1 = x;
        double d0 = 0;
        double d1 = 1;
        double p = ck[0] + ck[1] * x;
        double v = ck[1];
        for (int n = 2; n < s.coefficients; ++n) {
            const double t2 = 2 * x * t1 - t0;
            const double d2 = 2 * t1 + 2 * x * d1 - d0;
            p += ck[n] * t2;
            v += ck[n] * d2;
            t0 = t1;
            t1 = t2;
            d0 = d1;
            d1 = d2;
        }
        pv[0][k] = p;
        pv[1][k] = v * 2.0 / span;
    }
}

void JplEphemeris::moon(double jdTT, double pv[2][3]) const {
    evaluate({0, kMoon.coefficients, kMoon.intervals}, jdTT, pv);
    for (int i = 0; i < 2; ++i) {
        for (int k = 0; k < 3; ++k) {
            pv[i][k] /= kmPerAu_;
        }
    }
}

EarthState JplEphemeris::earth(double jdTT) const {
    double moonPv[2][3];
    double barycentre[2][3];
    double sun[2][3];
    evaluate({0, kMoon.coefficients, kMoon.intervals}, jdTT, moonPv);
    evaluate({length(kMoon), kBarycentre.coefficients, kBarycentre.intervals}, jdTT, barycentre);
    evaluate({length(kMoon) + length(kBarycentre), kSun.coefficients, kSun.intervals}, jdTT, sun);
    // The Earth lies from the Earth-Moon barycentre by the geocentric Moon over 1 + EMRAT.
    const double share = 1.0 / (1.0 + earthMoonRatio_);
    EarthState e;
    for (int i = 0; i < 2; ++i) {
        for (int k = 0; k < 3; ++k) {
            e.pvb[i][k] = (barycentre[i][k] - moonPv[i][k] * share) / kmPerAu_;
            e.pvh[i][k] = e.pvb[i][k] - sun[i][k] / kmPerAu_;
        }
    }
    return e;
}

std::string de405Table() {
    const std::string tail = "/ephemerides/DE405";
    std::array<char, 4096> configured{};
    const Reader* r = reader();
    if (r != nullptr && r->measuresDirectory(configured.data(), configured.size()) != 0) {
        return configured.data() + tail;
    }
    for (const char* place : {"/usr/share/casacore/data", "/var/lib/casacore/data"}) {
        std::error_code ec;
        if (std::filesystem::exists(place + tail + "/table.dat", ec)) {
            return place + tail;
        }
    }
    return "/usr/share/casacore/data" + tail;
}

const JplEphemeris* de405() {
    // Read once, never changed after: the function-local static's initialisation is
    // thread-safe.
    static const std::unique_ptr<JplEphemeris> ephemeris = JplEphemeris::load(de405Table());
    return ephemeris.get();
}

} // namespace sorvane::precise
