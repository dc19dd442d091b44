// The Instrument Description dialog: one line describing the instrument.
#pragma once

#include "setup/instrument_identity.h"

#include <string>

namespace korvel {

class InstrumentDescriptionModel {
public:
    InstrumentDescriptionModel(const InstrumentSetup &setup, const InstrumentIdentity &identity)
            : identity_(identity), text_(setup.description) {}

    std::string caption() const { return instrumentCaption("Instrument Description", identity_); }

    const std::string &text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }

    // OK: the text (the field takes up to text_limit::kDescription) becomes
    // the description.
    void applyTo(InstrumentSetup &setup) const { setup.description = text_; }

private:
    InstrumentIdentity identity_;
    std::string text_;
};

} // namespace korvel
