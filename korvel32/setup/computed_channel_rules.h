// The rules of the computed channels 21..30 as the Computed Function and
// Channels Configuration dialogs apply them to the working copy of one
// instrument's setup: the units label a function brings, the checks of the
// Computed Function's OK (the equation compiled by the library), the apply to
// the selected computed channels, and the checks of Channels Configuration's
// OK. Every refusal names the message, its text and the control that takes
// the focus, so that the dialogs and korvel-setup refuse the same entries
// with the same words.
#pragma once

#include "setup/instrument_setup.h"

#include <optional>
#include <span>
#include <string>

namespace korvel {

class InstrumentLink;

// The control a refused entry hands the focus back to.
enum class ComputedChannelField {
    GroupAverage,     // Computed Function: the Group Average list
    Equation,         // Computed Function: the equation field, caret at the error
    ComputedChannels, // Channels Configuration: the computed channel concerned
};

struct ComputedChannelRefusal {
    int messageId = 0;
    std::string text; // the message as shown
    ComputedChannelField focus = ComputedChannelField::ComputedChannels;
    int channel = 0; // the computed channel concerned, 0 when the refusal names none
    int caret = -1;  // where the compiler stopped in the equation text, -1 for other refusals

    bool operator==(const ComputedChannelRefusal &) const = default;
};

// What the Computed Function dialog edits: the definition of the first
// selected channel and the text of its equation field.
struct ComputedDefinition {
    ChannelSetup channel;
    std::string equation; // at most kEquationLength characters, as the field takes
};

ComputedDefinition computedDefinitionOf(const InstrumentSetup &setup, int channel);

// A change of the function list: a different function brings its own units
// label ("Avg", "Diff", "DiffAvg", "Equ"; none for OFF).
void chooseComputedFunction(ComputedDefinition &definition, ChannelFunction function);

// OK of the Computed Function dialog. An Average or Chan A - Average needs a
// group average channel (1316); an Equation is compiled, the regional decimal
// character read as a point, and a compile error refused with the compiler's
// message (1600..1607) and its position. On success an Equation's text, its
// length, compiled size and channel set (bit n = channel n) are set.
std::optional<ComputedChannelRefusal> acceptComputedFunction(InstrumentLink &link, ComputedDefinition &definition,
                                                             char decimalSymbol);

// The accepted definition applied to each selected computed channel. A
// channel is refused, and left as it was, when the definition refers to it or
// to a higher-numbered channel; message 1314 then names the first refused.
std::optional<ComputedChannelRefusal> applyComputedDefinition(InstrumentSetup &setup,
                                                              const ComputedDefinition &definition,
                                                              std::span<const int> selectedChannels);

// OK of the Channels Configuration dialog: computed channels in order, each
// checked for the equation buffer of the instrument (1324) and for the
// channels it reads being defined (1315). On success every OFF channel
// becomes the template's OFF channel; its equation text stays.
std::optional<ComputedChannelRefusal> acceptChannelsConfiguration(InstrumentSetup &setup, unsigned bcn,
                                                                  const ChannelSetup &offChannel);

} // namespace korvel
