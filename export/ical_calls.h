// The libical functions the calendar writer (icalendar.cpp) calls, as one table.
//
// Where the build says SORVANE_ICAL_SONAME (the native Linux program), the program is not
// linked with libical: icalCalls() loads the shared library of that name the first time a
// calendar file is made, and with it ICU, which libical needs. Loading the two costs about
// 1.4 ms of CPU, more than the rest of a start such as `sorvane-cli 2026`, which writes no
// calendar. Elsewhere (the web module, Windows) libical is linked as usual and the table
// holds its functions.
#pragma once

#include <libical/ical.h>

namespace sorvane::exports {

#define SORVANE_ICAL_CALLS(X)                                                                      \
    X(icalcomponent_new_vcalendar)                                                                 \
    X(icalcomponent_new_vevent)                                                                    \
    X(icalcomponent_free)                                                                          \
    X(icalcomponent_add_property)                                                                  \
    X(icalcomponent_add_component)                                                                 \
    X(icalcomponent_remove_component)                                                              \
    X(icalcomponent_get_first_component)                                                           \
    X(icalcomponent_as_ical_string_r)                                                              \
    X(icalproperty_new_from_string)                                                                \
    X(icalproperty_new_x)                                                                          \
    X(icalproperty_set_x_name)                                                                     \
    X(icalproperty_new_version)                                                                    \
    X(icalproperty_new_prodid)                                                                     \
    X(icalproperty_new_calscale)                                                                   \
    X(icalproperty_new_name)                                                                       \
    X(icalproperty_new_description)                                                                \
    X(icalproperty_new_uid)                                                                        \
    X(icalproperty_new_summary)                                                                    \
    X(icalproperty_new_categories)                                                                 \
    X(icalproperty_new_transp)

struct IcalCalls {
#define SORVANE_ICAL_MEMBER(name) decltype(&::name) name;
    SORVANE_ICAL_CALLS(SORVANE_ICAL_MEMBER)
#undef SORVANE_ICAL_MEMBER
};

// The table, filled once per process. Throws IcsError (naming the library and the loader's
// reason) when the shared library or one of its functions cannot be found; the next call
// tries again.
const IcalCalls& icalCalls();

} // namespace sorvane::exports
