// "Instrument Configuration", the top of the configuration dialogs: the
// instrument's scan settings on its working copy, and the Channels and Data
// File dialogs below it. Its OK leaves the accepted working copy in the
// model; the command writes it back to the instrument.
#pragma once

#include "link/instrument_link.h"
#include "setup/instrument_configuration_rules.h"
#include "shell/model_dialog.h"

#include <map>

class QCheckBox;
class QRadioButton;

namespace korvel {

class InstrumentConfigurationDialog : public ModelDialog {
    Q_OBJECT
public:
    // table and slot: the instrument, and the others its data file path is
    // checked against.
    InstrumentConfigurationDialog(InstrumentConfigurationModel model, const InstrumentTable &table, int slot,
                                  InstrumentLink &link, UserInterface &ui, QWidget *parent);

    const InstrumentConfigurationModel &model() const { return model_; }
    QWidget *control(InstrumentControl control) const { return controls_.widget(control); }
    QCheckBox &box(InstrumentControl control) const { return *boxes_.at(control); }
    QLineEdit &field(InstrumentControl control) const { return *fields_.at(control); }
    QRadioButton &unitsButton(TemperatureUnits units) const { return *units_.at(units); }
    QComboBox &monitorList() const { return *monitor_; }
    QComboBox &readingRateList() const { return *readingRate_; }

    // Shows an entry refused before the dialog opened, with the focus there.
    void refuse(const Refusal<InstrumentControl> &refusal) { showRefused(refusal, controls_); }

    void reject() override; // asks first when a lower dialog was accepted

private:
    QWidget *scanGroup();
    QWidget *instrumentGroup();
    QCheckBox *checkBox(InstrumentControl control, const char *text, QWidget *parent);
    QLineEdit *textField(InstrumentControl control, std::size_t limit, QWidget *parent);
    void showModel() override;
    void tryAccept() override { acceptUnless(model_.accept(), controls_); }
    void configureChannels();
    void configureDataFile();

    InstrumentConfigurationModel model_;
    const InstrumentTable &table_;
    int slot_;
    InstrumentLink &link_;
    ControlWidgets<InstrumentControl> controls_;
    std::map<InstrumentControl, QCheckBox *> boxes_;
    std::map<InstrumentControl, QLineEdit *> fields_;
    std::map<TemperatureUnits, QRadioButton *> units_;
    QComboBox *monitor_ = nullptr;
    QComboBox *readingRate_ = nullptr;
};

} // namespace korvel
