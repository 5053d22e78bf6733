#include "ui/pdf_file.h"

#include "calendar/calculation_error.h"
#include "calendar/quoted_text.h"
#include "calendar/year_text.h"
#include "export/atomic_file.h"
#include "ui/dialog_path.h"

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <utility>

namespace sorvane::ui {

namespace {

// The resolution of QPrinter::HighResolution for a PDF file.
constexpr int kPdfDotsPerInch = 1200;

} // namespace

bool writePdfFile(const QString& file, const std::function<bool(QPagedPaintDevice&)>& paint,
                  const QString& title) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        // The writer finishes the document when it is destroyed, after the painter ends.
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfDotsPerInch);
        writer.setCreator(QStringLiteral("Sorvane"));
        writer.setTitle(title);
        if (!paint(writer)) {
            return false;
        }
    }
    const QByteArray& pdf = buffer.data();
    writeFileAtomically(dialogPath(file, QFile::encodeName(file).toStdString()),
                        std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    return true;
}

int printCalendarPdfCommand(const QString& month, const QString& file,
                            const std::function<bool(int year, int first, int last)>& print) {
    const auto complain = [](const std::string& line, int status) {
        std::fprintf(stderr, "sorvane: --print-calendar-pdf: %s\n", line.c_str());
        return status;
    };
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^([+-]?[0-9]+)(?:-([0-9]{1,2}))?$")).match(month);
    const std::string shown = quotedText(month.toStdString());
    if (!m.hasMatch()) {
        return complain("bad month " + shown + " (YYYY-MM or YYYY)", 2);
    }
    int year = 0;
    try {
        year = parseYearText(m.captured(1).toStdString());
    } catch (const YearTextError& e) {
        return complain(e.what(), 2);
    }
    const int number = m.hasCaptured(2) ? m.captured(2).toInt() : 0;
    if (m.hasCaptured(2) && (number < 1 || number > 12)) {
        return complain("bad month " + shown + " (the month is 1..12)", 2);
    }
    try {
        if (!print(year, number == 0 ? 1 : number, number == 0 ? 12 : number)) {
            return complain("cannot start printing to " + file.toStdString(), 1);
        }
    } catch (const FileWriteError& e) {
        // A pipe or a device holds no old file to keep.
        struct stat named {};
        const bool device =
            ::stat(QFile::encodeName(file).constData(), &named) == 0 && !S_ISREG(named.st_mode);
        return complain(std::string(e.what()) + (device ? "" : " (the old file is kept)"), 3);
    } catch (const CalculationError& e) {
        return complain(e.what(), 1);
    }
    return 0;
}

QString japaneseWriteReason(const FileWriteError& error) {
    static const std::pair<int, const char*> kReasons[] = {
        {ENOSPC, "ディスクの空き容量が足りません"},
#ifdef EDQUOT // not in the Windows C library
        {EDQUOT, "ディスクの使用量の上限を超えます"},
#endif
        {EFBIG, "ファイルの大きさの上限を超えます"},
        {EACCES, "書き込みが許可されていません"},
        {EPERM, "書き込みが許可されていません"},
        {EROFS, "読み取り専用のファイルシステムです"},
        {ENOENT, "フォルダーがありません"},
        {ENOTDIR, "フォルダーがありません"},
        {EISDIR, "フォルダーです"},
        {ENAMETOOLONG, "名前が長すぎます"},
        {EIO, "入出力エラーです"},
    };
    for (const auto& [number, japanese] : kReasons) {
        if (error.error() == number) {
            return QString::fromUtf8(japanese);
        }
    }
    return QStringLiteral("書き込めません（%1）")
        .arg(QString::fromLocal8Bit(std::strerror(error.error())));
}

} // namespace sorvane::ui
