#include "precise/jpl_ephemeris.h"

#include "precise/jpl_table.h"

#include <algorithm>
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

} // namespace

std::unique_ptr<JplEphemeris> JplEphemeris::load(const std::string& table) {
    std::error_code ec;
    if (!std::filesystem::exists(table + "/table.dat", ec)) {
        return nullptr;
    }
    std::unique_ptr<JplTable> t = JplTable::open(table);
    if (t == nullptr || t->number() != 405 || t->recordMjd().empty()) {
        return nullptr;
    }
    // The records follow each other without a gap.
    const std::vector<double>& mjd = t->recordMjd();
    for (std::size_t r = 0; r < mjd.size(); ++r) {
        if (mjd[r] != mjd.front() + kRecordDays * static_cast<double>(r)) {
            return nullptr;
        }
    }
    std::unique_ptr<JplEphemeris> e(new JplEphemeris);
    e->earthMoonRatio_ = t->earthMoonRatio();
    e->kmPerAu_ = t->kmPerAu();
    e->records_ = mjd.size();
    e->firstJd_ = mjd.front() + kMjdZero;
    e->state_.assign(e->records_, Record::Unread);
    e->kept_.assign(e->records_ * kKeptPerRecord, 0.0);
    e->table_ = std::move(t);
    return e;
}

JplEphemeris::~JplEphemeris() = default;

bool JplEphemeris::covers(double jdTT) const {
    if (!(jdTT >= firstJd() && jdTT < lastJd())) {
        return false;
    }
    const auto record = static_cast<std::size_t>((jdTT - firstJd_) / kRecordDays);
    const std::lock_guard<std::mutex> lock(reading_);
    if (state_[record] == Record::Unread) {
        std::vector<double> c;
        state_[record] = Record::Unreadable;
        if (table_->record(record, c) && c.size() + 2 >= kRecordLength) {
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
    if (const std::string configured = casacoreMeasuresDirectory(); !configured.empty()) {
        return configured + tail;
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
