// The reader of casacore's JPL ephemeris tables, a module of its own (jpl_table.cpp, built as
// the shared module sorvane_jpl_table and opened with dlopen when the DE405 table is first
// needed): casacore's libraries take tens of milliseconds to load and initialise, which
// every run of the terminal program would otherwise pay. Compiled as C++17: casacore 3.5's
// headers use std::allocator members that C++20 removed.
#pragma once

#include <cstddef>

extern "C" {

// The header of a table: DENUM (405 for DE405), EMRAT, AU (km) and the number of records.
struct SorvaneJplHeader {
    int number;
    double earthMoonRatio;
    double kmPerAu;
    std::size_t records;
};

// sorvane_jpl_open: the table in directory `table`, read-only and without locking; null when
// it is missing or casacore cannot read it. Fills `header`.
void* sorvane_jpl_open(const char* table, SorvaneJplHeader* header);

// sorvane_jpl_record: record `row`'s first day (MJD) in *mjd and its "x" column (the
// coefficients) in out[0..capacity); returns how many coefficients it has, or -1 if the
// record cannot be read. Not safe for calls from two threads at once.
long sorvane_jpl_record(void* table, std::size_t row, double* mjd, double* out,
                        std::size_t capacity);

void sorvane_jpl_close(void* table);

// sorvane_jpl_measures_directory: casacore's measures.directory resource into
// out[0..capacity) (nul-terminated); 0 when unset or too long.
int sorvane_jpl_measures_directory(char* out, std::size_t capacity);

} // extern "C"
