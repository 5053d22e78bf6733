#include "ui/guide.h"

#include "lunisolar/month_numbering_note.h"
#include "ui/fonts.h"

#include <QDialog>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace sorvane::ui {

namespace {

// A character that Japanese text sets without spaces: kana, CJK ideographs and symbols,
// full-width forms (a surrogate stands for the ideographs beyond the first plane).
bool isWide(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x2E80 && u <= 0x303F) || (u >= 0x3040 && u <= 0x33FF) ||
           (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) ||
           (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) ||
           (u >= 0xFF00 && u <= 0xFF60) || (u >= 0xFFE0 && u <= 0xFFE6) ||
           (u >= 0xD800 && u <= 0xDFFF);
}

// A line that starts a block of its own (a heading, a list item, a table row, a quote, a
// fence, a rule), which no line before it runs into.
bool startsBlock(const QString& trimmed) {
    static const QRegularExpression ordered(QStringLiteral("^[0-9]+[.)] "));
    return trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')) ||
           trimmed.startsWith(QLatin1Char('|')) || trimmed.startsWith(QLatin1Char('>')) ||
           trimmed.startsWith(QStringLiteral("```")) || trimmed.startsWith(QStringLiteral("- ")) ||
           trimmed.startsWith(QStringLiteral("* ")) || trimmed.startsWith(QStringLiteral("+ ")) ||
           trimmed == QStringLiteral("---") || ordered.match(trimmed).hasMatch();
}

} // namespace

QString joinSoftBreaks(const QString& markdown) {
    const QStringList lines = markdown.split(QLatin1Char('\n'));
    QStringList out;
    bool fence = false;
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        const bool fenceMark = trimmed.startsWith(QStringLiteral("```"));
        if (!fence && !fenceMark && !out.isEmpty() && !startsBlock(trimmed)) {
            QString& previous = out.last();
            const QString before = previous.trimmed();
            const bool hardBreak =
                previous.endsWith(QStringLiteral("  ")) || previous.endsWith(QLatin1Char('\\'));
            if (!before.isEmpty() && !hardBreak && !before.startsWith(QLatin1Char('#')) &&
                !before.startsWith(QLatin1Char('|')) && !before.startsWith(QStringLiteral("```")) &&
                (isWide(before.back()) || isWide(trimmed.front()))) {
                while (previous.endsWith(QLatin1Char(' '))) {
                    previous.chop(1);
                }
                previous += trimmed;
                continue;
            }
        }
        if (fenceMark) {
            fence = !fence;
        }
        out.append(line);
    }
    return out.join(QLatin1Char('\n'));
}

QString guideText() {
    QFile file(QStringLiteral(":/sorvane/guide-ja.md"));
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("# 使い方\n\n使い方の文書を読めませんでした。");
    }
    QString text = QString::fromUtf8(file.readAll());
    // The months of 2033-2034 whose numbering is a choice, in the library's words, closing
    // the section on the month's page (before the day search's).
    const QString choice =
        QString::fromStdString(lunisolar::monthNumberingGuide()) + QStringLiteral("\n\n");
    const qsizetype next = text.indexOf(QStringLiteral("\n## 日を探す"));
    text.insert(next < 0 ? text.size() : next + 1, choice);
    return text;
}

QDialog* makeGuideWindow(QWidget* parent) {
    auto* window = new QDialog(parent, Qt::Window);
    window->setObjectName(QStringLiteral("guideWindow"));
    window->setWindowTitle(QStringLiteral("Sorvane の使い方"));
    auto* text = new QTextBrowser(window);
    text->setObjectName(QStringLiteral("guideText"));
    text->setOpenExternalLinks(true);
    text->setFont(programFont(11.25));
    // Markdown joins the lines of a paragraph with a space, which Japanese text does not have.
    text->setMarkdown(joinSoftBreaks(guideText()));
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(text);
    window->resize(720, 640);
    return window;
}

} // namespace sorvane::ui
