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

QIcon mainWindowIcon() {
    ensureResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/sorvane/sorvane_32.xpm"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/sorvane/sorvane_16.xpm"), QSize(16, 16));
    return icon;
}

QIcon monthWindowIcon() {
    ensureResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/sorvane/month_32.xpm"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/sorvane/month_16.xpm"), QSize(16, 16));
    return icon;
}

} // namespace sorvane::ui
