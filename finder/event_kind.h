// What an event of the almanac is.
#pragma once

namespace sorvane {

// The kind of an event. The first three are the result lines' kinds, numbered as hyouji's
// argument and kekka's column (0 節, 1 土用, 2 中気); lineColumn and termIndex give the
// numbers that the finder's routines take.
enum class EventKind {
    Setsu = 0,      // 節: the Sun at 15 (2 month + 17) degrees
    Doyo = 1,       // 土用 entry: 12 degrees past the 節 of January, April, July, October
    Chuki = 2,      // 中気: 15 degrees past the 節
    Longitude,      // the Sun reaches some other longitude (no result line)
    ZassetsuDay,    // a 雑節 that is a whole day (節分, 彼岸, 八十八夜 ..)
    ZassetsuMoment, // a 雑節 that is an instant (入梅, 半夏生)
    DoyoPeriod,     // the days of a 土用, first to last
    UshiDay,        // a 土用の丑の日
};

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

} // namespace sorvane
