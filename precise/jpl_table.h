// Reading a JPL ephemeris table of casacore (jpl_table.cpp is compiled as C++17: casacore
// 3.5's headers use std::allocator members that C++20 removed).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace sorvane::precise {

// JplTable: a JPL ephemeris table opened read-only, without locking; its records are read
// one at a time, when asked for. Not safe for calls from two threads at once.
class JplTable {
  public:
    // open: the table in directory `table`; nullptr when it is missing or casacore cannot
    // read it.
    static std::unique_ptr<JplTable> open(const std::string& table);
    ~JplTable();

    int number() const { return number_; }                              // DENUM: 405 for DE405
    double earthMoonRatio() const { return earthMoonRatio_; }           // EMRAT
    double kmPerAu() const { return kmPerAu_; }                         // AU
    const std::vector<double>& recordMjd() const { return recordMjd_; } // each record's start

    // record: record `row`'s "x" column, its coefficients; false if it cannot be read.
    bool record(std::size_t row, std::vector<double>& out) const;

  private:
    JplTable();
    struct Columns;
    std::unique_ptr<Columns> columns_;
    int number_ = 0;
    double earthMoonRatio_ = 0;
    double kmPerAu_ = 0;
    std::vector<double> recordMjd_;
};

// casacoreMeasuresDirectory: casacore's measures.directory resource, or "" when unset.
std::string casacoreMeasuresDirectory();

} // namespace sorvane::precise
