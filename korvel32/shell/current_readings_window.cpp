#include "shell/current_readings_window.h"

#include "shell/config_view_metrics.h"
#include "shell/text_column.h"

#include <QGridLayout>
#include <QLabel>
#include <QShowEvent>

namespace korvel {

namespace {

constexpr int kLines = 32; // 30 channels, DIO and TOTAL

} // namespace

CurrentReadingsWindow::CurrentReadingsWindow(const CurrentReadingsModel &model, QWidget *parent)
        : QDialog(parent), model_(model), channels_(textColumn(this, "channels", Qt::AlignLeft)),
          readings_(textColumn(this, "readings", Qt::AlignRight)), units_(textColumn(this, "units", Qt::AlignLeft)) {
    setObjectName(QStringLiteral("CurrentReadings"));
    const CharacterCell cell = characterCell(childWindowFont());
    for (QLabel *label : {channels_, readings_, units_}) label->setMinimumHeight(cell.lines(kLines));
    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Chan"), this), 0, 0);
    auto *reading = new QLabel(QStringLiteral("Reading"), this);
    reading->setAlignment(Qt::AlignRight);
    layout->addWidget(reading, 0, 1);
    layout->addWidget(channels_, 1, 0);
    layout->addWidget(readings_, 1, 1);
    layout->addWidget(units_, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    showReadings();
}

void CurrentReadingsWindow::showReadings() {
    setWindowTitle(QString::fromStdString(model_.caption()));
    channels_->setText(joinedLines(model_.channelLines()));
    readings_->setText(joinedLines(model_.readingLines()));
    units_->setText(joinedLines(model_.unitsLines()));
}

QString CurrentReadingsWindow::channelColumn() const { return channels_->text(); }
QString CurrentReadingsWindow::readingColumn() const { return readings_->text(); }
QString CurrentReadingsWindow::unitsColumn() const { return units_->text(); }

void CurrentReadingsWindow::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) emit shownAgain();
}

} // namespace korvel
