#include "ui/almanac_guard.h"

#include <QMessageBox>

namespace sorvane::ui {

QString japaneseCalculationError(const CalculationError& e) {
    const QString where = QStringLiteral("%1年%2月: 太陽黄経 %3 度")
                              .arg(e.year())
                              .arg(e.month())
                              .arg(QString::number(e.target(), 'g', 10));
    QString problem;
    switch (e.code()) {
    case CalculationError::Code::NotReached:
        problem = QStringLiteral("に達する日が見つかりません");
        break;
    case CalculationError::Code::TooFar:
        problem = QStringLiteral("に達する時刻がその月から %1 日以上離れています")
                      .arg(static_cast<int>(kMomentDayLimit));
        break;
    case CalculationError::Code::NotFinite:
        problem = QStringLiteral("に達する時刻が有限の数になりません");
        break;
    }
    return QStringLiteral("%1%2。\n%3 の項の値を確かめてください。")
        .arg(where, problem, QString::fromLatin1(CalculationError::file()));
}

QString calculationErrorMessage(const CalculationError& e) {
    return QStringLiteral("データファイルの値では計算できません。\n\n%1")
        .arg(japaneseCalculationError(e));
}

void reportCalculationError(QWidget* parent, const CalculationError& e) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Sorvane"), calculationErrorMessage(e),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("calculationError"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void reportUnexpectedError(QWidget* parent, const std::exception& e) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Sorvane"),
                    QStringLiteral("計算を続けられませんでした（プログラムの想定外の状態です）。"
                                   "\n\n%1")
                        .arg(QString::fromUtf8(e.what())),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("unexpectedError"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace sorvane::ui
