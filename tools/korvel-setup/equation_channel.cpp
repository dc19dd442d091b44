#include "equation_channel.h"

#include "kvlink32.h"

#include <array>
#include <cstdint>
#include <string>

std::string setEquationChannel(korvel::InstrumentSetup &setup, int channel, const std::string &equation) {
    if (!korvel::isComputedChannel(channel)) {
        return "an equation channel is one of " + std::to_string(korvel::kFirstComputedChannel) + " to " +
               std::to_string(korvel::kChannelCount);
    }
    if (equation.empty() || equation.size() > korvel::kEquationLength) {
        return "an equation has 1 to " + std::to_string(korvel::kEquationLength) + " characters";
    }
    std::array<std::uint8_t, KVX_EQUATION_AREA> code{};
    std::int32_t mask = 0, length = 0, position = 0, error = 0;
    if (kvxParseExpr(equation.c_str(), code.data(), &mask, &length, &position, &error) != 1) {
        return "the equation does not compile (error " + std::to_string(error) + " at character " +
               std::to_string(position + 1) + ")";
    }
    korvel::ChannelSetup &target = setup.channel(channel);
    target.function = korvel::ChannelFunction::Equation;
    target.equationLength = static_cast<std::uint16_t>(equation.size() + 1);
    target.compiledSize = static_cast<std::uint16_t>(length);
    target.equationSet = static_cast<std::uint32_t>(mask);
    setup.equation(channel) = equation;
    return {};
}
