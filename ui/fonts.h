// The font family the windows' controls are designed in, and its Linux stand-ins.
#pragma once

#include <QFont>

namespace sorvane::ui {

// The family every control is designed in, at the given size in points. The family is mapped
// to the Japanese fonts found on Linux by installFontSubstitutions().
QFont programFont(double pointSize, bool bold = false);
void installFontSubstitutions();

} // namespace sorvane::ui
