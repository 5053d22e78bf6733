#include "export/ical_calls.h"

#include "export/icalendar.h"

#include <string>

#ifdef SORVANE_ICAL_SONAME
#include <dlfcn.h>
#endif

namespace sorvane::exports {

namespace {

#ifdef SORVANE_ICAL_SONAME

// The loader's last error, or a general word when it gives none.
std::string loaderError() {
    const char* error = dlerror();
    return error != nullptr ? error : "no reason given";
}

IcalCalls loadCalls() {
    void* library = dlopen(SORVANE_ICAL_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        throw IcsError(std::string("a calendar file needs libical (") + SORVANE_ICAL_SONAME +
                       "), which could not be loaded: " + loaderError());
    }
    // The library stays loaded for the rest of the process, as a linked one would.
    IcalCalls calls{};
#define SORVANE_ICAL_FIND(name)                                                                    \
    calls.name = reinterpret_cast<decltype(calls.name)>(dlsym(library, #name));                    \
    if (calls.name == nullptr) {                                                                   \
        throw IcsError(std::string(SORVANE_ICAL_SONAME) + " has no " #name ": " + loaderError());  \
    }
    SORVANE_ICAL_CALLS(SORVANE_ICAL_FIND)
#undef SORVANE_ICAL_FIND
    return calls;
}

#else

IcalCalls loadCalls() {
#define SORVANE_ICAL_LINKED(name) &::name,
    return IcalCalls{SORVANE_ICAL_CALLS(SORVANE_ICAL_LINKED)};
#undef SORVANE_ICAL_LINKED
}

#endif

} // namespace

const IcalCalls& icalCalls() {
    static const IcalCalls calls = loadCalls();
    return calls;
}

} // namespace sorvane::exports
