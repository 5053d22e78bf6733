#include "ui/year_arrow.h"

#include "ui/icons.h"

#include <QMouseEvent>
#include <QPixmap>

namespace sorvane::ui {

YearArrow::YearArrow(const QString& name, const QString& picture, const QString& hint,
                     QWidget* parent)
    : QLabel(parent) {
    ensureResources();
    setObjectName(name);
    setPixmap(QPixmap(picture));
    setToolTip(hint);
    setAccessibleName(hint);
    setFocusPolicy(Qt::NoFocus);
}

void YearArrow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
    }
    event->accept();
}

void YearArrow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        if (rect().contains(event->position().toPoint())) {
            emit clicked();
        }
    }
    event->accept();
}

void YearArrow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // The press of the double click: the release that follows ends it and is no click.
        pressed_ = false;
        emit doubleClicked();
    }
    event->accept();
}

} // namespace sorvane::ui
