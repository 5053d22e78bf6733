#include "precise/jpl_table.h"

#include <casacore/casa/Arrays/Array.h>
#include <casacore/casa/System/Aipsrc.h>
#include <casacore/tables/Tables/ArrayColumn.h>
#include <casacore/tables/Tables/ScalarColumn.h>
#include <casacore/tables/Tables/Table.h>
#include <casacore/tables/Tables/TableRecord.h>
#include <exception>

namespace sorvane::precise {

struct JplTable::Columns {
    casacore::Table table;
    casacore::ArrayColumn<double> x;
};

JplTable::JplTable() = default;
JplTable::~JplTable() = default;

std::unique_ptr<JplTable> JplTable::open(const std::string& table) {
    try {
        if (!casacore::Table::isReadable(table)) {
            return nullptr;
        }
        std::unique_ptr<JplTable> t(new JplTable);
        t->columns_ = std::make_unique<Columns>();
        Columns& c = *t->columns_;
        c.table = casacore::Table(table, casacore::TableLock(casacore::TableLock::NoLocking),
                                  casacore::Table::Old);
        const casacore::TableRecord& keywords = c.table.keywordSet();
        t->number_ = static_cast<int>(keywords.asDouble("DENUM"));
        t->earthMoonRatio_ = keywords.asDouble("EMRAT");
        t->kmPerAu_ = keywords.asDouble("AU");
        c.x.attach(c.table, "x");
        const casacore::ScalarColumn<double> mjd(c.table, "MJD");
        t->recordMjd_ = mjd.getColumn().tovector();
        return t;
    } catch (const std::exception&) {
        return nullptr;
    }
}

bool JplTable::record(std::size_t row, std::vector<double>& out) const {
    try {
        if (row >= recordMjd_.size()) {
            return false;
        }
        out = columns_->x(row).tovector();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string casacoreMeasuresDirectory() {
    try {
        casacore::String value;
        if (casacore::Aipsrc::find(value, "measures.directory")) {
            return value;
        }
    } catch (const std::exception&) {
        // An unreadable resource file leaves the standard places.
    }
    return "";
}

} // namespace sorvane::precise
