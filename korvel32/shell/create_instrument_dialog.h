// "Create Instrument Icon": lists the instruments of the communications
// configuration that the setup does not hold yet, for the user to pick.
#pragma once

#include "app/instrument_icon_commands.h"

#include <QDialog>

#include <vector>

class QListWidget;

namespace korvel {

class CreateInstrumentDialog : public QDialog {
    Q_OBJECT

public:
    // The first line is selected.
    explicit CreateInstrumentDialog(const std::vector<AvailableInstrument> &available, QWidget *parent = nullptr);

    // The BCNs of the selected lines in list order, at most limit of them.
    std::vector<unsigned> chosenBcns(int limit) const;

    QListWidget &list() { return *list_; }

private:
    QListWidget *list_;
};

// The dialog as the command shows it: the BCNs chosen with OK, none when it
// is cancelled.
std::vector<unsigned> chooseInstrumentsInDialog(const std::vector<AvailableInstrument> &available, int limit,
                                                QWidget *parent);

} // namespace korvel
