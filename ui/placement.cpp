#include "ui/placement.h"

#include <algorithm>

namespace sorvane::ui {

namespace {

// The lowest coordinate that keeps a span of the given length inside [low, low + room); the
// low end wins when the span is longer than the room.
int keptInside(int position, int length, int low, int room) {
    return std::max(low, std::min(position, low + room - length));
}

} // namespace

QPoint centredFramePosition(QSize frame, const QRect& screen, const QRect& available) {
    return {std::max(available.x(), screen.x() + (screen.width() - frame.width()) / 2),
            std::max(available.y(), screen.y() + (screen.height() - frame.height()) / 2)};
}

QPoint dockedFramePosition(const QRect& mainFrame, QSize frame, const QRect& area) {
    int x = mainFrame.x() + mainFrame.width();
    if (x + frame.width() > area.x() + area.width()) {
        x = mainFrame.x() - frame.width();
    }
    return {keptInside(x, frame.width(), area.x(), area.width()),
            keptInside(mainFrame.y(), frame.height(), area.y(), area.height())};
}

} // namespace sorvane::ui
