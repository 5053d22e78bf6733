#include "ui/form2.h"

#include "ui/fonts.h"
#include "ui/icons.h"
#include "ui/text_box.h"
#include "ui/twips.h"

#include <QIcon>
#include <QLabel>
#include <QTextEdit>

namespace sorvane::ui {

namespace {

// The client area, 2055 x 8445 twips.
constexpr int kClientWidth = 137;
constexpr int kClientHeight = 563;

QLabel* headingLabel(QWidget* parent, const char* name, QRect geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(programFont(14.25));
    label->setAttribute(Qt::WA_NoMousePropagation);
    return label;
}

} // namespace

Form2::Form2(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("日干支"));
    setWindowIcon(monthWindowIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kClientWidth, kClientHeight);

    // Created in tab order: the day list, the month heading, the year heading.
    txtnikkan_ = textBox(this, QStringLiteral("txtnikkan"), twipsRect(240, 1128, 1590, 7141),
                         programFont(11.25));

    lbltuki_ = headingLabel(this, "lbltuki", twipsRect(440, 630, 1170, 435));
    lblnen_ = headingLabel(this, "lblnen", twipsRect(420, 210, 1170, 330));
}

void Form2::showListing(const almanac::MonthListing& listing) {
    showLines(txtnikkan_, displayText(listing.dayLines), Qt::AlignRight);
    lblnen_->setText(QString::fromStdString(listing.yearCaption));
    lbltuki_->setText(QString::fromStdString(listing.monthCaption));
}

} // namespace sorvane::ui
