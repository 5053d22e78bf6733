#include "ui/data_files.h"

#include <QMessageBox>
#include <QRegularExpression>
#include <QString>
#include <utility>

namespace sorvane::ui {

namespace {

bool matches(const QString& text, const QString& pattern, QRegularExpressionMatch& match) {
    match = QRegularExpression(pattern).match(text);
    return match.hasMatch();
}

// A value quoted by the term file reader ("1.5x") in Japanese quotes.
QString quoted(QString value) {
    if (value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')) &&
        value.size() >= 2) {
        value = value.mid(1, value.size() - 2);
    }
    return QStringLiteral("「%1」").arg(value);
}

// Why a file could not be opened, from the system's words for the common causes.
QString openFailure(const QString& reason) {
    static const std::pair<const char*, const char*> kReasons[] = {
        {"No such file or directory", "ファイルがありません"},
        {"Permission denied", "読み取りが許可されていません"},
        {"Too many levels of symbolic links", "シンボリックリンクが循環しています"},
        {"File name too long", "名前が長すぎます"},
        {"Input/output error", "入出力エラーです"},
    };
    for (const auto& [english, japanese] : kReasons) {
        if (reason == QLatin1String(english)) {
            return QString::fromUtf8(japanese);
        }
    }
    return QStringLiteral("開けません");
}

// The kind of a file that is not a regular one, as the term file reader names it.
QString specialFileKind(const QString& english) {
    static const std::pair<const char*, const char*> kKinds[] = {
        {"a named pipe", "名前付きパイプ"},
        {"a character device", "キャラクターデバイス"},
        {"a block device", "ブロックデバイス"},
        {"a socket", "ソケット"},
    };
    for (const auto& [name, japanese] : kKinds) {
        if (english == QLatin1String(name)) {
            return QString::fromUtf8(japanese);
        }
    }
    return QStringLiteral("特殊なファイル");
}

QString fieldName(const QString& english) {
    static const std::pair<const char*, const char*> kFields[] = {
        {"planet code", "惑星番号"},       {"planet multiple", "惑星の倍数"},
        {"sun multiple", "太陽の倍数"},    {"longitude amplitude", "黄経の振幅"},
        {"longitude phase", "黄経の位相"}, {"radius amplitude", "動径の振幅"},
        {"radius phase", "動径の位相"},    {"latitude amplitude", "黄緯の振幅"},
        {"latitude phase", "黄緯の位相"},
    };
    for (const auto& [name, japanese] : kFields) {
        if (english == QLatin1String(name)) {
            return QString::fromUtf8(japanese);
        }
    }
    return english;
}

QString valueProblem(const QString& what) {
    QRegularExpressionMatch m;
    if (matches(what, QStringLiteral(R"(^(".*") is not a number$)"), m)) {
        return QStringLiteral("%1は数値ではありません").arg(quoted(m.captured(1)));
    }
    if (matches(what, QStringLiteral(R"(^(".*") is out of range for a number$)"), m)) {
        return QStringLiteral("%1は数値の範囲を超えています").arg(quoted(m.captured(1)));
    }
    if (matches(what, QStringLiteral(R"(^(".*") is not a whole number$)"), m)) {
        return QStringLiteral("%1は整数ではありません").arg(quoted(m.captured(1)));
    }
    if (matches(what, QStringLiteral(R"(^(".*") is outside (-?\d+)\.\.(-?\d+)$)"), m)) {
        return QStringLiteral("%1は %2～%3 の範囲外です")
            .arg(quoted(m.captured(1)), m.captured(2), m.captured(3));
    }
    if (matches(what, QStringLiteral(R"(^(-?\d+) is not a planet code (\d+)\.\.(\d+)$)"), m)) {
        return QStringLiteral("%1 は惑星番号 %2～%3 ではありません")
            .arg(m.captured(1), m.captured(2), m.captured(3));
    }
    return what;
}

// The term file reader's one-line message in Japanese. Its forms: "<file>: <path> is a
// directory, not a data file", "<file>: <path> is not a regular file (<kind>)", "<file>: <path>
// is larger than <n> bytes, ...", "<file>: cannot
// open <path>: <reason>", "<file>: cannot read <path>", "<file>: ends early: ..." and "<file>: term
// T, field F (<name>): <problem>".
QString japaneseDetail(const QString& message) {
    QRegularExpressionMatch m;
    if (matches(message, QStringLiteral("^([^:]+): (.*) is a directory, not a data file$"), m)) {
        return QStringLiteral("%1: %2 はフォルダーで、データファイルではありません")
            .arg(m.captured(1), m.captured(2));
    }
    if (matches(message, QStringLiteral(R"(^([^:]+): (.*) is not a regular file \((.*)\)$)"), m)) {
        return QStringLiteral("%1: %2 は通常のファイルではありません(%3)")
            .arg(m.captured(1), m.captured(2), specialFileKind(m.captured(3)));
    }
    if (matches(message, QStringLiteral("^([^:]+): cannot open (.*): ([^:]*)$"), m)) {
        return QStringLiteral("%1: %2 を開けません(%3)")
            .arg(m.captured(1), m.captured(2), openFailure(m.captured(3)));
    }
    if (matches(message,
                QStringLiteral(R"(^([^:]+): (.*) is larger than (\d+) bytes, far more than a term )"
                               R"(file holds$)"),
                m)) {
        return QStringLiteral("%1: %2 は %3 バイトを超えており、項のファイルとしては大きすぎます")
            .arg(m.captured(1), m.captured(2), m.captured(3));
    }
    if (matches(message, QStringLiteral("^([^:]+): cannot read (.*)$"), m)) {
        return QStringLiteral("%1: %2 を読み込めません").arg(m.captured(1), m.captured(2));
    }
    if (matches(message,
                QStringLiteral(R"(^([^:]+): ends early: (\d+) of (\d+) terms)"
                               R"((?: \(term (\d+) has (\d+) of (\d+) values\))?$)"),
                m)) {
        QString text = QStringLiteral("%1: 途中で終わっています(全 %2 項のうち %3 項まで)")
                           .arg(m.captured(1), m.captured(3), m.captured(2));
        if (m.hasCaptured(4)) {
            text += QStringLiteral("。第 %1 項の値は %2 個のうち %3 個です")
                        .arg(m.captured(4), m.captured(6), m.captured(5));
        }
        return text;
    }
    if (matches(message, QStringLiteral(R"(^([^:]+): term (\d+), field (\d+) \(([^)]*)\): (.*)$)"),
                m)) {
        return QStringLiteral("%1: 第 %2 項の %3 番目の値(%4): %5")
            .arg(m.captured(1), m.captured(2), m.captured(3), fieldName(m.captured(4)),
                 valueProblem(m.captured(5)));
    }
    return message;
}

} // namespace

std::optional<Tables> loadTablesOrReport(const std::filesystem::path& dataDir) {
    try {
        return loadTables(dataDir);
    } catch (const DataFileError& e) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Sorvane"),
                        QStringLiteral("データファイルを読み込めないため、起動できません。\n\n%1\n"
                                       "(フォルダ: %2)")
                            .arg(japaneseDetail(QString::fromStdString(e.what())),
                                 QString::fromStdString(dataDir.string())),
                        QMessageBox::Ok);
        box.setObjectName(QStringLiteral("dataFileError"));
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return std::nullopt;
    }
}

} // namespace sorvane::ui
