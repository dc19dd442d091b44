#include "equation_channel.h"

#include "link/instrument_link.h"

std::optional<korvel::ComputedChannelRefusal> setEquationChannel(korvel::InstrumentSetup &setup, unsigned bcn,
                                                                 int channel, const std::string &equation,
                                                                 char decimalSymbol,
                                                                 const korvel::ChannelSetup &offChannel) {
    korvel::InstrumentSetup copy = setup;
    korvel::ComputedDefinition definition = korvel::computedDefinitionOf(copy, channel);
    korvel::chooseComputedFunction(definition, korvel::ChannelFunction::Equation);
    definition.equation = equation;
    korvel::InstrumentLink library;
    if (auto refused = korvel::acceptComputedFunction(library, definition, decimalSymbol)) return refused;
    const int selected[] = {channel};
    if (auto refused = korvel::applyComputedDefinition(copy, definition, selected)) return refused;
    if (auto refused = korvel::acceptChannelsConfiguration(copy, bcn, offChannel)) return refused;
    setup = std::move(copy);
    return std::nullopt;
}
