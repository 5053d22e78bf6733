#include "ui/icons.h"

#include <QSize>
#include <QString>

// The compiled-in pictures live in a static library; Q_INIT_RESOURCE must be called from the
// global namespace.
static void initSorvaneResources() {
    Q_INIT_RESOURCE(sorvane);
}

namespace sorvane::ui {

void ensureResources() {
    static const bool done = (initSorvaneResources(), true);
    (void)done;
}

namespace {

// The 32 x 32 and 16 x 16 pictures ":/sorvane/<name>_32.xpm" and "_16.xpm" as one icon.
QIcon iconPair(const QString& name) {
    ensureResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/sorvane/%1_32.xpm").arg(name), QSize(32, 32));
    icon.addFile(QStringLiteral(":/sorvane/%1_16.xpm").arg(name), QSize(16, 16));
    return icon;
}

} // namespace

QIcon mainWindowIcon() {
    return iconPair(QStringLiteral("sorvane"));
}

QIcon monthWindowIcon() {
    return iconPair(QStringLiteral("month"));
}

} // namespace sorvane::ui
