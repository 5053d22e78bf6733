#include "ui/data_files.h"

#include "calendar/path_text.h"

#include <QMessageBox>
#include <QString>
#include <cerrno>

namespace sorvane::ui {

namespace {

using Code = DataFileError::Code;

// Why a file could not be opened or read, from the system's error number for the common
// causes; otherwise.
QString systemReason(int error, const char* otherwise) {
    switch (error) {
    case ENOENT:
        return QStringLiteral("ファイルがありません");
    case EACCES:
        return QStringLiteral("読み取りが許可されていません");
    case ELOOP:
        return QStringLiteral("シンボリックリンクが循環しています");
    case ENAMETOOLONG:
        return QStringLiteral("名前が長すぎます");
    case EIO:
        return QStringLiteral("入出力エラーです");
    default:
        return QString::fromUtf8(otherwise);
    }
}

QString specialKind(DataFileError::Special special) {
    switch (special) {
    case DataFileError::Special::NamedPipe:
        return QStringLiteral("名前付きパイプ");
    case DataFileError::Special::CharacterDevice:
        return QStringLiteral("キャラクターデバイス");
    case DataFileError::Special::BlockDevice:
        return QStringLiteral("ブロックデバイス");
    case DataFileError::Special::Socket:
        return QStringLiteral("ソケット");
    case DataFileError::Special::Other:
        break;
    }
    return QStringLiteral("特殊なファイル");
}

QString fieldName(DataFileError::Field field) {
    using Field = DataFileError::Field;
    switch (field) {
    case Field::PlanetCode:
        return QStringLiteral("惑星番号");
    case Field::PlanetMultiple:
        return QStringLiteral("惑星の倍数");
    case Field::SunMultiple:
        return QStringLiteral("太陽の倍数");
    case Field::LongitudeAmplitude:
        return QStringLiteral("黄経の振幅");
    case Field::LongitudePhase:
        return QStringLiteral("黄経の位相");
    case Field::RadiusAmplitude:
        return QStringLiteral("動径の振幅");
    case Field::RadiusPhase:
        return QStringLiteral("動径の位相");
    case Field::LatitudeAmplitude:
        return QStringLiteral("黄緯の振幅");
    case Field::LatitudePhase:
        return QStringLiteral("黄緯の位相");
    }
    return QString();
}

// What is wrong with the value of a term's field.
QString valueProblem(Code code, const DataFileError::Details& d) {
    const QString value = QStringLiteral("「%1」").arg(QString::fromStdString(d.value));
    const QString lowest = QString::number(d.lowest);
    const QString highest = QString::number(d.highest);
    switch (code) {
    case Code::NotANumber:
        return QStringLiteral("%1は数値ではありません").arg(value);
    case Code::NumberOverflow:
        return QStringLiteral("%1は数値の範囲を超えています").arg(value);
    case Code::NotWhole:
        return QStringLiteral("%1は整数ではありません").arg(value);
    case Code::OutsideLimits:
        switch (d.unit) {
        case DataFileError::Unit::Arcseconds:
            return QStringLiteral("%1は %2～%3 秒角の範囲外です").arg(value, lowest, highest);
        case DataFileError::Unit::Degrees:
            return QStringLiteral("%1は %2～%3 度の範囲外です").arg(value, lowest, highest);
        case DataFileError::Unit::None:
            break;
        }
        return QStringLiteral("%1は %2～%3 の範囲外です").arg(value, lowest, highest);
    case Code::NotPlanetCode:
        return QStringLiteral("%1 は惑星番号 %2～%3 ではありません")
            .arg(QString::fromStdString(d.value), lowest, highest);
    default:
        return QString();
    }
}

} // namespace

QString japaneseDataFileError(const DataFileError& e) {
    const DataFileError::Details& d = e.details();
    const QString file = QString::fromStdString(d.file);
    const QString path = QString::fromStdString(d.path);
    switch (e.code()) {
    case Code::CannotOpen:
        return QStringLiteral("%1: %2 を開けません(%3)")
            .arg(file, path, systemReason(d.systemError, "開けません"));
    case Code::CannotRead:
        return QStringLiteral("%1: %2 を読み込めません(%3)")
            .arg(file, path, systemReason(d.systemError, "読み込めません"));
    case Code::Directory:
        return QStringLiteral("%1: %2 はフォルダーで、データファイルではありません")
            .arg(file, path);
    case Code::NotRegular:
        return QStringLiteral("%1: %2 は通常のファイルではありません(%3)")
            .arg(file, path, specialKind(d.special));
    case Code::TooLarge:
        return QStringLiteral("%1: %2 は %3 バイトを超えており、項のファイルとしては大きすぎます")
            .arg(file, path, QString::number(d.limitBytes));
    case Code::EndsEarly: {
        QString text = QStringLiteral("%1: 途中で終わっています(全 %2 項のうち %3 項まで)")
                           .arg(file, QString::number(d.termCount), QString::number(d.term - 1));
        if (d.field > 0) {
            text += QStringLiteral("。第 %1 項の値は %2 個のうち %3 個です")
                        .arg(QString::number(d.term), QString::number(d.fieldCount),
                             QString::number(d.field));
        }
        return text;
    }
    case Code::NotANumber:
    case Code::NumberOverflow:
    case Code::NotWhole:
    case Code::OutsideLimits:
    case Code::NotPlanetCode:
        break;
    }
    return QStringLiteral("%1: 第 %2 項の %3 番目の値(%4): %5")
        .arg(file, QString::number(d.term), QString::number(d.field), fieldName(d.fieldKind),
             valueProblem(e.code(), d));
}

std::optional<Tables> loadTablesOrReport(const std::filesystem::path& dataDir) {
    try {
        return loadTables(dataDir);
    } catch (const DataFileError& e) {
        QMessageBox box(
            QMessageBox::Critical, QStringLiteral("Sorvane"),
            QStringLiteral("データファイルを読み込めないため、起動できません。\n\n%1\n"
                           "(フォルダ: %2)")
                .arg(japaneseDataFileError(e), QString::fromStdString(pathText(dataDir))),
            QMessageBox::Ok);
        box.setObjectName(QStringLiteral("dataFileError"));
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return std::nullopt;
    }
}

} // namespace sorvane::ui
