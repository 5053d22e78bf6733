#include "precise/jpl_table.h"

#include <casacore/casa/Arrays/Array.h>
#include <casacore/casa/System/Aipsrc.h>
#include <casacore/tables/Tables/ArrayColumn.h>
#include <casacore/tables/Tables/ScalarColumn.h>
#include <casacore/tables/Tables/Table.h>
#include <casacore/tables/Tables/TableRecord.h>
#include <cstring>
#include <exception>
#include <string>

namespace {

struct Columns {
    casacore::Table table;
    casacore::ArrayColumn<double> x;
    casacore::ScalarColumn<double> mjd;
};

} // namespace

extern "C" {

void* sorvane_jpl_open(const char* table, SorvaneJplHeader* header) {
    try {
        if (!casacore::Table::isReadable(table)) {
            return nullptr;
        }
        auto* c = new Columns;
        try {
            c->table = casacore::Table(table, casacore::TableLock(casacore::TableLock::NoLocking),
                                       casacore::Table::Old);
            const casacore::TableRecord& keywords = c->table.keywordSet();
            header->number = static_cast<int>(keywords.asDouble("DENUM"));
            header->earthMoonRatio = keywords.asDouble("EMRAT");
            header->kmPerAu = keywords.asDouble("AU");
            header->records = c->table.nrow();
            c->x.attach(c->table, "x");
            c->mjd.attach(c->table, "MJD");
            return c;
        } catch (...) {
            delete c;
            throw;
        }
    } catch (const std::exception&) {
        return nullptr;
    }
}

long sorvane_jpl_record(void* table, std::size_t row, double* mjd, double* out,
                        std::size_t capacity) {
    try {
        auto* c = static_cast<Columns*>(table);
        if (row >= c->table.nrow()) {
            return -1;
        }
        *mjd = c->mjd(row);
        const casacore::Array<double> x = c->x(row);
        if (x.nelements() > capacity) {
            return -1;
        }
        bool deleteIt = false;
        const double* data = x.getStorage(deleteIt);
        std::memcpy(out, data, x.nelements() * sizeof(double));
        x.freeStorage(data, deleteIt);
        return static_cast<long>(x.nelements());
    } catch (const std::exception&) {
        return -1;
    }
}

void sorvane_jpl_close(void* table) {
    delete static_cast<Columns*>(table);
}

int sorvane_jpl_measures_directory(char* out, std::size_t capacity) {
    try {
        casacore::String value;
        if (casacore::Aipsrc::find(value, "measures.directory") && value.size() < capacity) {
            std::memcpy(out, value.c_str(), value.size() + 1);
            return 1;
        }
    } catch (const std::exception&) {
        // An unreadable resource file: as if unset.
    }
    return 0;
}

} // extern "C"
