#include "almanac/event.h"

namespace sorvane::almanac {

std::string eventTitle(const Event& event) {
    if (event.kind == EventKind::Doyo) {
        static const char* const seasons[] = {"冬", "春", "夏", "秋"};
        return std::string(seasons[(event.month - 1) / 3]) + "の" + event.name + "入り";
    }
    return event.name;
}

} // namespace sorvane::almanac
