#include "ui/about_box.h"

#include "sorvane/version.h"

namespace sorvane::ui {

QString aboutText() {
    const QString version = QString::fromLatin1(kVersion);
    // Name and version; copyright; contact; web page. The first two groups end with CR CR LF.
    return QStringLiteral("      \u3000\u3000Sorvane  Ver.  ") + version +
           QStringLiteral("\r\r\n") +
           QStringLiteral("\u3000Copyright (C) 2026年12月\u3000Sorvane Project") +
           QStringLiteral("\r\r\n") + QStringLiteral("       \u3000\u3000sorvane@example.com") +
           QStringLiteral("\r\n") +
           QStringLiteral("  \u3000\u3000\u3000\u3000https://www.example.org/sorvane/");
}

QString aboutTitle() {
    return QStringLiteral("バージョン情報");
}

} // namespace sorvane::ui
