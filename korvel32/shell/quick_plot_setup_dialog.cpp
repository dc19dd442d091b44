#include "shell/quick_plot_setup_dialog.h"

#include "shell/channel_choice_list.h"

#include <QFormLayout>
#include <QLineEdit>

namespace korvel {

namespace {

QLineEdit *field(const std::string &text, std::size_t limit, QWidget *parent) {
    auto *edit = new QLineEdit(QString::fromStdString(text), parent);
    edit->setMaxLength(static_cast<int>(limit));
    return edit;
}

} // namespace

QuickPlotSetupDialog::QuickPlotSetupDialog(QuickPlotSetupModel &model, UserInterface &ui, QWidget *parent)
        : QDialog(parent), model_(model), ui_(ui),
          channels_(new ChannelChoiceList(model.lines(), model.initialSelection(), this)),
          maximum_(field(model.maximumText(), QuickPlotSetupModel::kNumberTextLimit, this)),
          minimum_(field(model.minimumText(), QuickPlotSetupModel::kNumberTextLimit, this)),
          interval_(field(model.intervalText(), QuickPlotSetupModel::kIntervalTextLimit, this)) {
    setObjectName(QStringLiteral("QuickPlotSetup"));
    setWindowTitle(QStringLiteral("Quick Plot Setup"));
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Plot Ma&ximum:"), maximum_);
    fields->addRow(QStringLiteral("Plot Mi&nimum:"), minimum_);
    fields->addRow(QStringLiteral("&Sampling Interval (secs):"), interval_);
    layOutChannelChoice(*this, *channels_, fields);
}

void QuickPlotSetupDialog::accept() {
    model_.setMaximumText(maximum_->text().toStdString());
    model_.setMinimumText(minimum_->text().toStdString());
    model_.setIntervalText(interval_->text().toStdString());
    const auto refusal = model_.accept(channels_->selectedRows());
    if (!refusal) {
        QDialog::accept();
        return;
    }
    ui_.showMessage(refusal->text, MessageIcon::Exclamation, MessageButtons::Ok);
    QWidget *focus = channels_;
    switch (refusal->focus) {
        case PlotSetupControl::Channels: break;
        case PlotSetupControl::Maximum: focus = maximum_; break;
        case PlotSetupControl::Minimum: focus = minimum_; break;
        case PlotSetupControl::Interval: focus = interval_; break;
    }
    focus->setFocus();
    if (auto *edit = qobject_cast<QLineEdit *>(focus)) edit->selectAll();
}

} // namespace korvel
