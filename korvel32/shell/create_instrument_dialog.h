// "Create Instrument Icon": lists the instruments of the communications
// configuration that the setup does not hold yet, for the user to pick.
#pragma once

#include "link/instrument_link.h"
#include "platform/user_interface.h"
#include "setup/instrument_table.h"

#include <QDialog>

#include <vector>

class QListWidget;

namespace korvel {

class CreateInstrumentDialog : public QDialog {
    Q_OBJECT

public:
    CreateInstrumentDialog(const InstrumentTable &table, QWidget *parent = nullptr);

    // Reads the communications configuration into the list and selects the
    // first line. False, after telling the user why, when the configuration
    // cannot be read or offers no instrument the setup lacks: the dialog is
    // then not to be shown.
    bool listAvailable(InstrumentLink &link, UserInterface &ui);

    // The BCNs of the selected lines in list order, at most limit of them.
    std::vector<unsigned> chosenBcns(int limit) const;

    QListWidget &list() { return *list_; }

private:
    const InstrumentTable &table_;
    QListWidget *list_;
};

// The dialog as the command shows it: the BCNs chosen with OK, none when the
// dialog is cancelled or cannot be shown.
std::vector<unsigned> chooseInstrumentsInDialog(const InstrumentTable &table, InstrumentLink &link, UserInterface &ui,
                                                int limit, QWidget *parent);

} // namespace korvel
