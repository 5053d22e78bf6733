// The solar terms as the calendar names them: the kinds of the almanac's events and the Sun's
// longitudes that mark the 節, 中気 and 土用 entries of a month.
#pragma once

namespace sorvane {

// The kind of an event. The first three are the result lines' kinds, numbered as hyouji's
// argument and kekka's column (0 節, 1 土用, 2 中気); lineColumn and termIndex give the
// numbers that the finder's routines take.
enum class EventKind {
    Setsu = 0, // 節: the Sun at 15 (2 month + 17) degrees
    Doyo = 1,  // 土用 entry: 12 degrees past the 節 of January, April, July, October
    Chuki = 2, // 中気: 15 degrees past the 節
    Longitude, // the Sun reaches some other longitude (no result line)
};
// The 雑節 that hang on these have kinds of their own (zassetsu/zassetsu.h).

// hyouji's argument and kekka's column for the kinds that have a result line, else -1.
constexpr int lineColumn(EventKind kind) {
    switch (kind) {
    case EventKind::Setsu:
    case EventKind::Doyo:
    case EventKind::Chuki:
        return static_cast<int>(kind);
    default:
        return -1;
    }
}

// reach's bl and sekkilong's kind: 0 for a 節, 1 for a 中気.
constexpr int termIndex(EventKind kind) {
    return kind == EventKind::Chuki ? 1 : 0;
}

// sekkilong: target longitude of month's 節 (kind 0) or 中気 (kind 1), degrees 0..360.
// 15 (2 month + 17 + kind), reduced once: January's 節 (小寒) is 285, March's 中気 (春分) 0.
double sekkilong(int month, int kind);

// dooulong: longitude at which the month's 土用 begins, 12 degrees past its 節; used for
// January (297), April (27), July (117) and October (207).
double dooulong(int month);

} // namespace sorvane
