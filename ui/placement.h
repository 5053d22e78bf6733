// Where the windows go on the screen: the main window centred, the month window beside it.
// Pure computations on frame rectangles, so that they can be checked without a screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace sorvane::ui {

// The top left corner that centres a window frame of the given size on the screen. A frame
// larger than the screen's available area starts at that area's top (or left) edge instead,
// so that its title bar stays on the screen and the rest runs off below (or to the right).
QPoint centredFramePosition(QSize frame, const QRect& screen, const QRect& available);

// The top left corner of the month window's frame: against the main window frame's right
// edge, top aligned; against its left edge when the right side has no room in the area. The
// frame is then kept inside the area, so that the whole window stays on the screen.
QPoint dockedFramePosition(const QRect& mainFrame, QSize frame, const QRect& area);

} // namespace sorvane::ui
