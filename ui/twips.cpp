#include "ui/twips.h"

#include <QtGlobal>

namespace sorvane::ui {

int twips(int value) {
    return qRound(value / 15.0);
}

QRect twipsRect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

} // namespace sorvane::ui
