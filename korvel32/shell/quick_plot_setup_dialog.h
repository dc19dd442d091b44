// The Quick Plot Setup dialog over its model: the channels to plot, the
// plot's maximum and minimum, and the sampling interval.
#pragma once

#include "app/quick_plot_setup.h"
#include "platform/user_interface.h"

#include <QDialog>

class QLineEdit;

namespace korvel {

class ChannelChoiceList;

class QuickPlotSetupDialog : public QDialog {
    Q_OBJECT
public:
    QuickPlotSetupDialog(QuickPlotSetupModel &model, UserInterface &ui, QWidget *parent);

    ChannelChoiceList &channels() { return *channels_; }
    QLineEdit &maximum() { return *maximum_; }
    QLineEdit &minimum() { return *minimum_; }
    QLineEdit &interval() { return *interval_; }

    // OK: refused with the model's message and the focus on its field.
    void accept() override;

private:
    QuickPlotSetupModel &model_;
    UserInterface &ui_;
    ChannelChoiceList *channels_;
    QLineEdit *maximum_;
    QLineEdit *minimum_;
    QLineEdit *interval_;
};

} // namespace korvel
