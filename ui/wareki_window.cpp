#include "ui/wareki_window.h"

#include "calendar/names.h"
#include "lunisolar/lunisolar_calendar.h"
#include "wareki/day_report.h"
#include "wareki/parse.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <cstring>

namespace sorvane::ui {

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// The result lines, top to bottom: the control's name and its caption.
struct Line {
    const char* name;
    const char* caption;
};
constexpr std::array<Line, 9> kLines{{
    {"warekiValue", "和暦"},
    {"gregorianValue", "グレゴリオ暦"},
    {"julianValue", "ユリウス暦"},
    {"historicalValue", "当時の西暦"},
    {"weekdayValue", "曜日"},
    {"sexagenaryValue", "干支"},
    {"lunisolarValue", "旧暦"},
    {"rokuyoValue", "六曜"},
    {"jdnValue", "ユリウス通日"},
}};

// A Western date with a word on whether it is the calendar then in use.
QString westernValue(const wareki::DayReport& r, wareki::Western calendar) {
    const wareki::WesternDate& d = calendar == wareki::Western::Gregorian ? r.gregorian : r.julian;
    const QString note = calendar == r.historical ? QStringLiteral("（当時の西暦）")
                         : calendar == wareki::Western::Gregorian
                             ? QStringLiteral("（先発グレゴリオ暦）")
                             : QStringLiteral("（先発ユリウス暦）");
    return q(wareki::isoText(d)) + note;
}

// The values of kLines for a day, in the same order.
std::array<QString, kLines.size()> lineValues(const wareki::DayReport& r) {
    using wareki::Western;
    QStringList eras;
    for (std::size_t i = 0; i < r.warekiTexts.size(); ++i) {
        QString text = q(r.warekiTexts[i]);
        if (i < r.eras.size() && !r.eras[i].reading.empty()) {
            text += QStringLiteral("（%1）").arg(q(r.eras[i].reading));
        }
        eras << text;
    }
    if (eras.isEmpty()) {
        eras << QStringLiteral("なし（元号も天皇の在位年もない日）");
    }
    QString lunisolar;
    QString rokuyo;
    if (r.lunisolar) {
        lunisolar = q(wareki::lunisolarDayText(*r.lunisolar));
        rokuyo = QString::fromUtf8(lunisolar::rokuyoName(r.rokuyo));
    } else {
        lunisolar = QStringLiteral("なし（1873〜1899年は太陽暦のみ。旧暦の表は1872年まで、"
                                   "計算は1900〜2100年）");
        rokuyo = QStringLiteral("なし（旧暦の日付がない日）");
    }
    return {
        eras.join(QLatin1Char('\n')),
        westernValue(r, Western::Gregorian),
        westernValue(r, Western::Julian),
        r.historical == Western::Julian ? QStringLiteral("ユリウス暦（1582-10-15 より前の日）")
                                        : QStringLiteral("グレゴリオ暦（1582-10-15 からの日）"),
        q(weekdayNames[static_cast<std::size_t>(r.weekday)]) + QStringLiteral("曜日"),
        q(sexagenaryNames[static_cast<std::size_t>(r.sexagenary)]),
        lunisolar,
        rokuyo,
        QString::number(r.jdn),
    };
}

// How the input was read, for the line under the field.
QString readAs(const char* inputCalendar) {
    if (std::strcmp(inputCalendar, "wareki") == 0) {
        return QStringLiteral("和暦");
    }
    return QString::fromUtf8(wareki::calendarName(std::strcmp(inputCalendar, "julian") == 0
                                                      ? wareki::Western::Julian
                                                      : wareki::Western::Gregorian));
}

} // namespace

WarekiWindow::WarekiWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("WarekiWindow"));
    setWindowTitle(QStringLiteral("和暦 ⇄ 西暦"));
    auto* layout = new QVBoxLayout(this);

    auto* field = new QHBoxLayout;
    input_ = new QLineEdit(this);
    input_->setObjectName(QStringLiteral("warekiInput"));
    input_->setPlaceholderText(QStringLiteral("例：元禄15年12月14日、1703-01-30"));
    input_->setMinimumWidth(
        input_->fontMetrics().horizontalAdvance(QStringLiteral("南朝 延元元年閏十二月三十日")) +
        24);
    auto* inputLabel = new QLabel(QStringLiteral("和暦または西暦(&D)："), this);
    inputLabel->setBuddy(input_);
    auto* convertButton = new QPushButton(QStringLiteral("変換(&H)"), this);
    convertButton->setObjectName(QStringLiteral("convert"));
    field->addWidget(inputLabel);
    field->addWidget(input_, 1);
    field->addWidget(convertButton);
    layout->addLayout(field);

    julian_ = new QCheckBox(QStringLiteral("ユリウス暦で入力(&J)"), this);
    julian_->setObjectName(QStringLiteral("julianInput"));
    julian_->setToolTip(
        QStringLiteral("西暦の日付（年-月-日）をユリウス暦の日付として読みます。切ると"
                       "グレゴリオ暦（1582-10-15 より前は先発グレゴリオ暦）として読みます。"));
    layout->addWidget(julian_);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("warekiMessage"));
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    layout->addWidget(message_);

    auto* frame = new QWidget(this);
    lines_ = new QGridLayout(frame);
    lines_->setContentsMargins(0, 4, 0, 4);
    lines_->setColumnStretch(1, 1);
    for (std::size_t i = 0; i < kLines.size(); ++i) {
        auto* caption =
            new QLabel(QString::fromUtf8(kLines[i].caption) + QStringLiteral("："), frame);
        caption->setAlignment(Qt::AlignRight | Qt::AlignTop);
        auto* value = new QLabel(frame);
        value->setObjectName(QString::fromLatin1(kLines[i].name));
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lines_->addWidget(caption, static_cast<int>(i), 0);
        lines_->addWidget(value, static_cast<int>(i), 1);
    }
    layout->addWidget(frame);

    auto* buttons = new QHBoxLayout;
    open_ = new QPushButton(QStringLiteral("月の暦で開く(&O)"), this);
    open_->setObjectName(QStringLiteral("openCalendarPage"));
    open_->setToolTip(QStringLiteral("この日を月の暦（グレゴリオ暦の月）で開きます"));
    open_->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    close->setObjectName(QStringLiteral("close"));
    buttons->addStretch(1);
    buttons->addWidget(open_);
    buttons->addWidget(close);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(convertButton, &QPushButton::clicked, this, qOverload<>(&WarekiWindow::convert));
    connect(input_, &QLineEdit::returnPressed, this, qOverload<>(&WarekiWindow::convert));
    // The check box changes how a Western date is read: a day shown is read again.
    connect(julian_, &QCheckBox::toggled, this, [this] {
        if (!input_->text().trimmed().isEmpty()) {
            convert();
        }
    });
    connect(open_, &QPushButton::clicked, this, [this] {
        if (shown_) {
            emit dayOpened(*shown_);
        }
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    clearLines();
}

void WarekiWindow::convert(const QString& text, bool julian) {
    input_->setText(text);
    {
        const QSignalBlocker quiet(julian_);
        julian_->setChecked(julian);
    }
    convert();
}

void WarekiWindow::convert() {
    const QString text = input_->text();
    // The check box stays on between inputs; a 和暦 text is read as 和暦 with it on too.
    const wareki::ReadDay read = wareki::readDay(text.toStdString(), julian_->isChecked());
    if (!read.ok) {
        clearLines();
        message_->setText(
            QStringLiteral("「%1」は読めません：%2").arg(text.trimmed(), q(read.message)));
        return;
    }
    const wareki::DayReport report = wareki::describeDay(read.jdn);
    const auto values = lineValues(report);
    for (std::size_t i = 0; i < kLines.size(); ++i) {
        findChild<QLabel*>(QString::fromLatin1(kLines[i].name))->setText(values[i]);
    }
    message_->setText(QStringLiteral("「%1」を%2の日付として読みました。")
                          .arg(text.trimmed(), readAs(read.inputCalendar)));
    shown_ = CivilDate{report.gregorian.year, report.gregorian.month, report.gregorian.day};
    open_->setEnabled(true);
}

QString WarekiWindow::message() const {
    return message_->text();
}

void WarekiWindow::clearLines() {
    for (const Line& line : kLines) {
        findChild<QLabel*>(QString::fromLatin1(line.name))->setText(QStringLiteral("—"));
    }
    shown_.reset();
    open_->setEnabled(false);
}

} // namespace sorvane::ui
