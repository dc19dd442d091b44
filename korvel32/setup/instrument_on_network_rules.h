// The Instrument On Network dialog: one entry of the communications
// configuration, its BCN, its model and, on a general network, its address.
#pragma once

#include "link/instrument_link.h"
#include "setup/dialog_refusal.h"

#include <array>
#include <cstddef>
#include <string>

namespace korvel {

enum class OnNetworkControl { Bcn, M100A, M200A, Address1, Address2, Address3, Address4 };

inline constexpr std::size_t kBcnDigits = 2;
inline constexpr std::size_t kAddressDigits = 3;

// What the dialog opens with.
struct OnNetworkRequest {
    bool isolated = true; // the address is not asked
    bool adding = true;   // else an entry is modified
    CcfEntry entry;       // BCN, model and address shown first
};

// The dialog's fields as typed.
struct OnNetworkFields {
    std::string bcn;
    bool m100a = true;
    std::array<std::string, 4> address;
};

class InstrumentOnNetworkModel {
public:
    InstrumentOnNetworkModel(InstrumentLink &link, OnNetworkRequest request);

    const OnNetworkRequest &request() const { return request_; }
    OnNetworkFields initialFields() const;
    // The address is asked only on a general network.
    bool enabled(OnNetworkControl control) const;

    // The checks in order: BCN 1..99 (1318); a BCN new to the dialog not yet
    // in the file (1319); each address byte 0..255 (1320). On success entry()
    // holds what was entered. A library failure is refused with 1317 and
    // fileFailed() then tells the dialogs to close.
    Checked<OnNetworkControl> accept(const OnNetworkFields &fields);
    const CcfEntry &entry() const { return entry_; }
    bool fileFailed() const { return fileFailed_; }

    // While typing, an address edit holding three characters with the caret
    // after the third hands the focus on to the next one.
    static bool movesOn(const std::string &text, std::size_t caret);

private:
    InstrumentLink &link_;
    OnNetworkRequest request_;
    CcfEntry entry_;
    bool fileFailed_ = false;
};

} // namespace korvel
