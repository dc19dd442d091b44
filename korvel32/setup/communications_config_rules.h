// The Communications Configuration File dialog: the instruments of ccf.cfg
// with Verify, Add, Modify, Delete, Delete All and Socket Port. Every change
// goes to the file through the library; the setup's instrument icons follow
// each change of a BCN or model. Every library failure is reported once with
// 1317 and closes the dialog; what was written before stays in the file.
#pragma once

#include "link/instrument_link.h"
#include "platform/user_interface.h"
#include "setup/instrument_on_network_rules.h"
#include "setup/instrument_table.h"
#include "setup/setup_doc.h"
#include "setup/socket_port_rules.h"

#include <functional>
#include <string>
#include <vector>

namespace korvel {

enum class CcfControl { Instruments, Verify, Add, Modify, Delete, DeleteAll, SocketPort, Isolated, General };

// What the dialog asks of the main window.
class CcfEditingHost {
public:
    virtual ~CcfEditingHost() = default;
    // The main window's delete command on the slot's instrument, with its own
    // questions.
    virtual void deleteInstrumentIcon(int slot) = 0;
    // The instrument check of a logging start, then the compatibility,
    // each outcome told in its message.
    virtual void verifyInstrument(unsigned bcn) = 0;
};

// What the dialog works on.
struct CcfEditingTarget {
    InstrumentLink &link;
    InstrumentTable &table;
    CSetupDoc &document;
    UserInterface &ui;
    CcfEditingHost &host;
    std::string programDirectory; // where general.txt may ask for a general network
};

// The sub-dialogs as the front end shows them; true on OK, after their own
// model has accepted.
using EntryEditor = std::function<bool(InstrumentOnNetworkModel &)>;
using SocketPortEditor = std::function<bool(SocketPortModel &)>;

class CommunicationsConfigModel {
public:
    explicit CommunicationsConfigModel(CcfEditingTarget target);

    // Makes sure the file exists and reads its instruments; the first line is
    // selected. False, after 1317, when the dialog has to close.
    bool open();

    bool isolated() const { return isolated_; }
    // Isolated shows its label, a general network its label and Socket Port.
    bool shown(CcfControl control) const;
    bool enabled(CcfControl control) const;

    const std::vector<std::string> &lines() const { return lines_; }
    int selectedRow() const { return selected_; } // -1 with no line
    void selectRow(int row);

    // The commands. Afterwards closed() tells whether a library failure ends
    // the dialog.
    void add(const EntryEditor &edit);
    void modify(const EntryEditor &edit);
    void deleteSelected();
    void deleteAll();
    void editSocketPort(const SocketPortEditor &edit);
    void verify();
    bool closed() const { return closed_; }

private:
    unsigned selectedBcn() const;
    // False after reporting a library failure.
    bool succeeded(std::int32_t result);
    bool confirmed(int messageId);
    void remember(const CcfEntry &entry);
    // The icon takes the entry's model; its channels adapt to it.
    void giveModel(int slot, std::int32_t ccfModel);

    CcfEditingTarget target_;
    bool isolated_ = true;
    std::vector<std::string> lines_;
    int selected_ = -1;
    std::int32_t lastModel_ = KVX_MODEL_M100A;
    std::array<std::uint8_t, 4> lastAddress_{}; // its last byte always 0
    bool closed_ = false;
};

} // namespace korvel
