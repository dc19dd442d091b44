// "Instrument On Network": the BCN, model and address of one instrument of
// the communications configuration. The checks are InstrumentOnNetworkModel's;
// this dialog shows its fields and the refusals.
#pragma once

#include "platform/user_interface.h"
#include "setup/instrument_on_network_rules.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace korvel {

class InstrumentOnNetworkDialog : public QDialog {
    Q_OBJECT

public:
    InstrumentOnNetworkDialog(InstrumentOnNetworkModel &model, UserInterface &ui, QWidget *parent = nullptr);

    QLineEdit &bcnEdit() { return *bcn_; }
    QRadioButton &m100aButton() { return *m100a_; }
    QRadioButton &m200aButton() { return *m200a_; }
    QLineEdit &addressEdit(int index) { return *address_.at(static_cast<std::size_t>(index)); }
    QGroupBox &addressGroup() { return *addressGroup_; }

    // OK: closes only when the model accepts, or when ccf.cfg failed.
    void accept() override;

private:
    QWidget &field(OnNetworkControl control);
    // Three digits typed at the end of an address byte: on to the next one.
    void moveOnFrom(int index);

    InstrumentOnNetworkModel &model_;
    UserInterface &ui_;
    QLineEdit *bcn_;
    QRadioButton *m100a_;
    QRadioButton *m200a_;
    QGroupBox *addressGroup_;
    std::array<QLineEdit *, 4> address_{};
};

} // namespace korvel
