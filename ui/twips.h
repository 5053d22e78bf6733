// Twips, the unit the windows' control positions and sizes are given in.
#pragma once

#include <QRect>

namespace sorvane::ui {

// Twips at 15 to the pixel (96 dots per inch), rounded to the nearest pixel.
int twips(int value);
QRect twipsRect(int left, int top, int width, int height);

} // namespace sorvane::ui
