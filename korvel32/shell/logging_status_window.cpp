#include "shell/logging_status_window.h"

#include "shell/config_view_metrics.h"
#include "shell/shell_icons.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

namespace korvel {

namespace {

constexpr int kInstrumentColumns = 4; // the instrument column, in average characters at least
constexpr int kCountPadding = 2;      // beside a count column's heading
constexpr int kAlarmColumns = 40;     // the alarm texts
constexpr Qt::Alignment kCount = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kText = Qt::AlignLeft | Qt::AlignVCenter;

QLabel *cell(QWidget *parent, const QString &text, QRect place, Qt::Alignment alignment) {
    auto *label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setAlignment(alignment);
    return label;
}

} // namespace

LoggingStatusWindow::LoggingStatusWindow(const LoggingStatusModel &model, const QFont &mainWindowFont, QWidget *parent)
        : QDialog(parent), model_(model) {
    setObjectName(QStringLiteral("LoggingStatus"));
    setWindowTitle(QStringLiteral("Logging Status"));
    setFont(mainWindowFont);
    const CharacterCell cell = characterCell(mainWindowFont);
    const QFontMetrics metrics(mainWindowFont);
    rowHeight_ = cell.height;
    const int margin = cell.width;

    const QString headings[] = {QStringLiteral("Instrument"), QStringLiteral("Scans In Instrument"),
                                QStringLiteral("Retrieved Scans"), QStringLiteral("Alarm Occurrences")};
    const int widths[] = {std::max(metrics.horizontalAdvance(headings[0]), cell.columns(kInstrumentColumns)),
                          metrics.horizontalAdvance(headings[1]) + cell.columns(kCountPadding),
                          metrics.horizontalAdvance(headings[2]) + cell.columns(kCountPadding),
                          std::max(metrics.horizontalAdvance(headings[3]), cell.columns(kAlarmColumns))};
    int lefts[4];
    int x = margin;
    for (int column = 0; column < 4; ++column) {
        lefts[column] = x;
        korvel::cell(this, headings[column], QRect(x, margin, widths[column], rowHeight_),
                     column == 1 || column == 2 ? kCount : kText);
        x += widths[column] + margin;
    }
    alarmSign_ = new QLabel(this);
    alarmSign_->setPixmap(alarmIcon().pixmap(rowHeight_, rowHeight_));
    alarmSign_->setGeometry(x - margin - rowHeight_, margin, rowHeight_, rowHeight_);
    alarmSign_->hide();
    setFixedWidth(x);

    firstRowTop_ = margin + rowHeight_ + rowHeight_ / 2;
    instruments_ =
        korvel::cell(this, QString(), QRect(lefts[0], firstRowTop_, widths[0], rowHeight_ * kInstrumentSlots),
                     Qt::AlignLeft | Qt::AlignTop);
    for (int row = 0; row < kInstrumentSlots; ++row) {
        const int top = firstRowTop_ + row * rowHeight_;
        rows_[static_cast<std::size_t>(row)] = {
            korvel::cell(this, QString(), QRect(lefts[1], top, widths[1], rowHeight_), kCount),
            korvel::cell(this, QString(), QRect(lefts[2], top, widths[2], rowHeight_), kCount),
            korvel::cell(this, QString(), QRect(lefts[3], top, widths[3], rowHeight_), kText)};
    }
    layOutRows();
}

void LoggingStatusWindow::statusChanged(int slot) {
    if (slot == 0) {
        layOutRows();
        return;
    }
    const std::vector<int> &rows = model_.rows();
    const auto found = std::find(rows.begin(), rows.end(), slot);
    if (found != rows.end()) showRow(static_cast<int>(found - rows.begin()), slot);
    showAlarmSign();
}

// The window ends one row below the last row (below row 1 while the setup
// has no instrument).
void LoggingStatusWindow::layOutRows() {
    const std::vector<int> &rows = model_.rows();
    const int count = static_cast<int>(rows.size());
    for (int row = 0; row < kInstrumentSlots; ++row) {
        const RowLabels &labels = rows_[static_cast<std::size_t>(row)];
        const bool used = row < count;
        for (QLabel *label : {labels.inInstrument, labels.retrieved, labels.alarms}) label->setVisible(used);
        if (used) showRow(row, rows[static_cast<std::size_t>(row)]);
    }
    instruments_->setText(QString::fromStdString(model_.instrumentColumn()).trimmed());
    setFixedHeight(firstRowTop_ + std::max(1, count) * rowHeight_ + rowHeight_);
    showAlarmSign();
}

void LoggingStatusWindow::showRow(int row, int slot) {
    const RowLabels &labels = rows_.at(static_cast<std::size_t>(row));
    labels.inInstrument->setText(QString::fromStdString(model_.scansInInstrumentText(slot)));
    labels.retrieved->setText(QString::fromStdString(model_.scansRetrievedText(slot)));
    const QString alarms = QString::fromStdString(model_.row(slot).alarmText);
    labels.alarms->setText(alarms);
    labels.alarms->setToolTip(alarms);
}

void LoggingStatusWindow::showAlarmSign() { alarmSign_->setVisible(model_.alarmIconShown()); }

QString LoggingStatusWindow::rowText(int row, int column) const {
    const RowLabels &labels = rows_.at(static_cast<std::size_t>(row));
    const QLabel *label = column == 0 ? labels.inInstrument : column == 1 ? labels.retrieved : labels.alarms;
    return label->isVisibleTo(this) ? label->text() : QString();
}

QString LoggingStatusWindow::instrumentColumn() const { return instruments_->text(); }

bool LoggingStatusWindow::alarmSignShown() const { return alarmSign_->isVisibleTo(this); }

} // namespace korvel
