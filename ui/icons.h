// The windows' icons and the compiled-in pictures they and the year arrows are drawn from.
#pragma once

#include <QIcon>

namespace sorvane::ui {

// Makes the compiled-in pictures (":/sorvane/...") available. Call before loading one; calls
// after the first do nothing.
void ensureResources();

QIcon mainWindowIcon();
QIcon monthWindowIcon();

} // namespace sorvane::ui
