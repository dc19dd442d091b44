// "&Create Instrument Icon..." and "&Delete Instrument Icon": adding
// instruments of the communications configuration to the setup and removing
// the selected one. The instrument bar follows the table through its
// observer; the front end only shows the list to choose from.
#pragma once

#include "link/instrument_link.h"
#include "platform/user_interface.h"
#include "setup/instrument_table.h"
#include "setup/setup_doc.h"
#include "setup/slot_logging.h"

#include <functional>
#include <string>
#include <vector>

namespace korvel {

// An instrument of the communications configuration that the setup lacks, as
// its line in the list reads ("03  M100A").
struct AvailableInstrument {
    unsigned bcn = 0;
    std::string line;

    bool operator==(const AvailableInstrument &) const = default;
};

// The instruments of the communications configuration that the setup does not
// hold, in the file's order, after making sure the file exists. Empty, after
// telling the user why, when the configuration cannot be read or offers none.
std::vector<AvailableInstrument> availableInstruments(InstrumentLink &link, const InstrumentTable &table,
                                                      UserInterface &ui, const std::string &programDirectory);

// The instrument bar's selection as the commands see it.
class InstrumentSelection {
public:
    virtual ~InstrumentSelection() = default;
    virtual int selectedSlot() const = 0; // 0 for none
    virtual void selectSlot(int slot) = 0;
};

// Offers the available instruments and returns the BCNs chosen, at most
// limit of them; none means Cancel.
using InstrumentChooser =
    std::function<std::vector<unsigned>(const std::vector<AvailableInstrument> &available, int limit)>;

class InstrumentIconCommands {
public:
    InstrumentIconCommands(InstrumentTable &table, CSetupDoc &document, InstrumentLink &link, UserInterface &ui,
                           InstrumentSelection &selection, SlotLogging logging, InstrumentChooser chooser,
                           std::string programDirectory);

    // Each chosen instrument goes to the lowest free slot with the model the
    // communications configuration gives it, and becomes the selected one.
    void createInstruments();
    // Asks first; a Master takes its group with it, leaving every instrument
    // Async.
    void deleteSelected(bool lockout);

private:
    bool addInstrument(unsigned bcn);
    bool slavesExist() const;

    InstrumentTable &table_;
    CSetupDoc &document_;
    InstrumentLink &link_;
    UserInterface &ui_;
    InstrumentSelection &selection_;
    SlotLogging logging_;
    InstrumentChooser chooser_;
    std::string programDirectory_; // where general.txt may ask for a general network
};

} // namespace korvel
