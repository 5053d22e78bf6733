// What the About box shows: the program's name and version, copyright, contact and web page.
#pragma once

#include <QString>

namespace sorvane::ui {

// The About box's message, exactly as composed (carriage returns included), and its title.
QString aboutText();
QString aboutTitle();

} // namespace sorvane::ui
