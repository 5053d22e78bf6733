#include "ui/guide.h"

#include "ui/fonts.h"

#include <QDialog>
#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace sorvane::ui {

QString guideText() {
    QFile file(QStringLiteral(":/sorvane/guide-ja.md"));
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("# 使い方\n\n使い方の文書を読めませんでした。");
    }
    return QString::fromUtf8(file.readAll());
}

QDialog* makeGuideWindow(QWidget* parent) {
    auto* window = new QDialog(parent, Qt::Window);
    window->setObjectName(QStringLiteral("guideWindow"));
    window->setWindowTitle(QStringLiteral("Sorvane の使い方"));
    auto* text = new QTextBrowser(window);
    text->setObjectName(QStringLiteral("guideText"));
    text->setOpenExternalLinks(true);
    text->setFont(programFont(11.25));
    text->setMarkdown(guideText());
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(text);
    window->resize(720, 640);
    return window;
}

} // namespace sorvane::ui
