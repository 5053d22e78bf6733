// Where the windows go on the screen: the main window centred, the month window beside it.
// Pure computations on frame rectangles, so that they can be checked without a screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace sorvane::ui {

// The top left corner that centres a window frame of the given size in the area.
QPoint centredFramePosition(QSize frame, const QRect& area);

// The top left corner of the month window's frame: against the main window frame's right
// edge, top aligned; against its left edge when the right side has no room in the area. The
// frame is then kept inside the area, so that the whole window stays on the screen.
QPoint dockedFramePosition(const QRect& mainFrame, QSize frame, const QRect& area);

} // namespace sorvane::ui
