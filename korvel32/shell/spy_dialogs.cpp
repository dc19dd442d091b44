#include "shell/spy_dialogs.h"

#include "shell/channel_choice_list.h"
#include "shell/refusal_shown.h"
#include "shell/text_column.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>

namespace korvel {

SpySelectionDialog::SpySelectionDialog(SpySelectionModel &model, UserInterface &ui, QWidget *parent)
        : QDialog(parent), model_(model), ui_(ui),
          channels_(new ChannelChoiceList(model.lines(), model.initialSelection(), this)) {
    setObjectName(QStringLiteral("SpyChannelSelection"));
    setWindowTitle(QStringLiteral("Spy Channel Selection"));
    layOutChannelChoice(*this, *channels_);
}

void SpySelectionDialog::accept() {
    if (const auto refusal = model_.accept(channels_->selectedRows())) {
        showRefusal(ui_, refusal->text, channels_);
        return;
    }
    QDialog::accept();
}

SpyWindow::SpyWindow(const SpyWindowModel &model, QWidget *parent)
        : QDialog(parent), model_(model), channels_(textColumn(this, "channels", Qt::AlignLeft)),
          readings_(textColumn(this, "readings", Qt::AlignRight)), units_(textColumn(this, "units", Qt::AlignLeft)) {
    channels_->setText(joinedLines(model.channelLines()));
    readings_->setText(joinedLines(model.readingLines()));
    units_->setText(joinedLines(model.unitsLines()));
    setObjectName(QStringLiteral("Spy"));
    setWindowTitle(QStringLiteral("Spy"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QGridLayout(this);
    layout->addWidget(channels_, 0, 0);
    layout->addWidget(readings_, 0, 1);
    layout->addWidget(units_, 0, 2);
    layout->addWidget(buttons, 1, 0, 1, 3);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SpyWindow::showReadings() {
    readings_->setText(joinedLines(model_.readingLines()));
    if (model_.state() == SpyWindowModel::State::Ended) reject();
}

QString SpyWindow::channelColumn() const { return channels_->text(); }
QString SpyWindow::readingColumn() const { return readings_->text(); }
QString SpyWindow::unitsColumn() const { return units_->text(); }

void SpyWindow::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mouseDoubleClickEvent(event);
        return;
    }
    selectionWanted_ = true;
    reject();
}

} // namespace korvel
