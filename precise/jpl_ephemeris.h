// The Moon and the Earth from JPL's development ephemeris DE405, read from the table that
// Debian's casacore-data-jpl-de405 installs for casacore.
#pragma once

#include "precise/erfa_sun.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sorvane::precise {

// JplEphemeris: the Chebyshev coefficients of the geocentric Moon, the Earth-Moon
// barycentre and the Sun of one JPL ephemeris, read once, evaluated here.
//
// The table is read through casacore's table library (libcasa-tables), which a module of
// its own opens (precise/jpl_table.h), so that only runs that need the table load casacore.
//
// Why not casacore::MeasJPL::get: it takes a lock, copies each record into a casacore
// Vector and gives the Moon only through the Earth-Moon barycentre (in casacore 3.5 its
// MOON is the barycentre plus the geocentric Moon, so MOON minus EARTH comes out 1.2 % too
// long). The table's geocentric Moon series is the quantity wanted; evaluating it and the
// Earth's here costs about a microsecond, where the Earth from eraEpv00 costs 34.
//
// The table: casacore's "x" column holds the JPL record without its two dates (so a JPL
// pointer p, counted from 1 with the dates, is index p - 3); "MJD" the first day of each
// 32-day record; keywords EMRAT and AU. The pointers of DE405: the Earth-Moon barycentre at
// 231 (13 coefficients, 2 sub-intervals), the Moon at 441 (13, 8), the Sun at 753 (11, 2).
// Positions in km, barycentric (the Moon geocentric), ICRF axes, argument TDB; TT is used
// for it here (they differ by under 2 ms, a thousandth of an arcsecond of the Moon).
//
// The Debian table spans 1959-12-10 to 2060-01-30 (the package keeps that part of DE405).
class JplEphemeris {
  public:
    // load: the table in directory `table` (e.g. /usr/share/casacore/data/ephemerides/
    // DE405); nullptr when it is missing, unreadable or not a DE405 table.
    static std::unique_ptr<JplEphemeris> load(const std::string& table);

    ~JplEphemeris();

    // The Julian dates (TDB) the table spans: firstJd <= jd < lastJd.
    double firstJd() const { return firstJd_; }
    double lastJd() const { return firstJd_ + kRecordDays * static_cast<double>(records_); }

    // covers: whether jdTT lies in the span and its record could be read. A record is read
    // from the table the first time a moment in it is asked for (about 0.1 ms; the whole
    // table would take 100 ms), and kept. Safe from several threads.
    bool covers(double jdTT) const;

    // moon: the geocentric Moon, position (au) and velocity (au/day), ICRS axes.
    //   jdTT  Julian date, TT (taken as TDB); covers(jdTT) must have said true
    void moon(double jdTT, double pv[2][3]) const;

    // earth: the Earth's heliocentric and barycentric position and velocity, as
    // precise::earthState gives them from eraEpv00. covers(jdTT) must have said true.
    EarthState earth(double jdTT) const;

    static constexpr double kRecordDays = 32.0;

  private:
    JplEphemeris() = default;

    struct Series {
        int offset;       // first coefficient in the kept part of a record
        int coefficients; // per coordinate
        int intervals;    // sub-intervals of the record
    };
    // position (km) and velocity (km/day) of one body's series at jd.
    void evaluate(const Series& s, double jd, double pv[2][3]) const;

    enum class Record : unsigned char { Unread, Read, Unreadable };

    void* table_ = nullptr; // the open table, from the reader module (precise/jpl_table.h)
    double firstJd_ = 0;
    std::size_t records_ = 0;
    double earthMoonRatio_ = 0;
    double kmPerAu_ = 0;
    // The records read so far (a cache of the file: what it holds never changes), and per
    // record the Moon's, the barycentre's and the Sun's coefficients.
    mutable std::mutex reading_;
    mutable std::vector<Record> state_;
    mutable std::vector<double> kept_;
};

// The whole years the Debian table spans.
inline constexpr int kDe405FirstYear = 1960;
inline constexpr int kDe405LastYear = 2059;

// The kept part of a record: 312 Moon, 78 Earth-Moon barycentre, 66 Sun coefficients.
inline constexpr int kKeptPerRecord = 312 + 78 + 66;

// de405Table: the DE405 table's directory: under casacore's measures.directory when that
// is set (~/.casarc, or the files CASARCFILES names), else under /usr/share/casacore/data,
// where Debian puts it, or /var/lib/casacore/data, where casacore looks by default.
std::string de405Table();

// de405: the system's DE405, loaded on first use and kept for the process; nullptr without
// the table (the Moon then comes from eraMoon98).
const JplEphemeris* de405();

} // namespace sorvane::precise
