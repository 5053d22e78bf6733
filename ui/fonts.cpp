#include "ui/fonts.h"

#include <QString>
#include <QStringList>

namespace sorvane::ui {

namespace {

const QString kDesignFamily = QStringLiteral("ＭＳ Ｐゴシック");

} // namespace

void installFontSubstitutions() {
    QFont::insertSubstitutions(
        kDesignFamily, {
#ifdef _WIN32
                           // Windows' own Japanese interface fonts, where the design font
                           // is missing; then Windows' interface font, for the Latin signs a
                           // Japanese font may lack (the ‹ › of 前月 and 翌月).
                           QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo UI"),
                           QStringLiteral("Meiryo"), QStringLiteral("Segoe UI"),
#endif
                           QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                           QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                           QStringLiteral("TakaoPGothic"), QStringLiteral("Droid Sans Fallback")});
}

QFont programFont(double pointSize, bool bold) {
    static const bool substituted = (installFontSubstitutions(), true);
    (void)substituted;
    QFont font(kDesignFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

} // namespace sorvane::ui
