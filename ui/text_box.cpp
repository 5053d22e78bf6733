#include "ui/text_box.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cmath>

namespace sorvane::ui {

QString displayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

namespace {

// The width a line edit gives its text: inside the frame, less the text margins and the two
// pixels it keeps clear on either side, less one pixel for the cursor at the end.
qreal lineRoom(const QLineEdit* box) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QMargins margins = box->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * 2 - 1;
}

void fitLine(QLineEdit* box, QFont font) {
    font.setStretch(QFont::Unstretched);
    const QString text = box->text();
    const qreal room = lineRoom(box);
    qreal width = QFontMetricsF(font).horizontalAdvance(text);
    if (width > room && room > 0) {
        // Rounded glyph advances can overshoot the proportional stretch by a little.
        int stretch = static_cast<int>(std::floor(room / width * 100));
        for (; stretch > 1; --stretch) {
            font.setStretch(stretch);
            if (QFontMetricsF(font).horizontalAdvance(text) <= room) {
                break;
            }
        }
    }
    box->setFont(font);
}

} // namespace

QTextEdit* textBox(QWidget* parent, const QString& name, QRect geometry, const QFont& font) {
    auto* box = new QTextEdit(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    box->setFont(font);
    box->setReadOnly(true);
    box->setAcceptRichText(false);
    box->setUndoRedoEnabled(false);
    // Lines are laid out across the box (so that alignment applies) but never wrapped.
    box->setLineWrapMode(QTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::NoWrap);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->document()->setDocumentMargin(1);
    return box;
}

void fitLineToWidth(QLineEdit* box, const QFont& font) {
    fitLine(box, font);
    QObject::connect(box, &QLineEdit::textChanged, box, [box, font] { fitLine(box, font); });
}

void showLines(QTextEdit* box, const QString& text, Qt::Alignment alignment) {
    QFont font = box->font();
    font.setStretch(QFont::Unstretched);
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty()) {
        lines.removeLast(); // the break that ends the last line opens no line of its own
    }
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (const QString& line : lines) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const qreal margin = box->document()->documentMargin();
    const QRect inside = box->contentsRect();
    const qreal room = inside.width() - 2 * margin - 1; // the text cursor's width
    if (widest > room && widest > 0) {
        font.setStretch(static_cast<int>(std::floor(room / widest * 100)));
    }
    box->setFont(font);
    box->setPlainText(text);

    const qreal em = QFontInfo(font).pixelSize();
    const qreal fit = (inside.height() - 2 * margin) / std::max<qsizetype>(lines.size(), 1);
    QTextBlockFormat format;
    format.setLineHeight(std::min(em, fit), QTextBlockFormat::FixedHeight);
    format.setAlignment(alignment);
    QTextCursor cursor(box->document());
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(format);
}

} // namespace sorvane::ui
