#include "logging/compatibility_check.h"

#include "platform/string_table.h"

#include <cstdlib>

namespace korvel {
namespace {
// The first instrument software this logger does not know.
constexpr double kUnsupportedNumber = 2.0;

// Older software knows neither equations nor custom RTD alphas.
bool needsNewerSoftware(const InstrumentSetup &setup) {
    for (int number = 1; number <= kChannelCount; ++number) {
        const ChannelSetup &channel = setup.channel(number);
        if (channel.function == ChannelFunction::Equation) return true;
        const bool rtd = channel.function == ChannelFunction::Rtd2W || channel.function == ChannelFunction::Rtd4W;
        if (rtd && channel.range == RangeCode::RtdCustom385) return true;
    }
    return false;
}

} // namespace

double compatibilityNumber(const std::string &text) {
    if (text.size() < 3) return 0.0;
    return std::strtod(text.c_str() + 2, nullptr);
}

int compatibilityProblem(double number) {
    if (number <= 0.0) return message::kInstrumentSoftwareOutdated;
    if (number >= kUnsupportedNumber) return message::kLoggerSoftwareOutdated;
    return 0;
}

Compatibility checkCompatibility(InstrumentLink &link, unsigned bcn, const InstrumentSetup &setup, UserInterface &ui) {
    const auto refuse = [&](int message) {
        ui.showMessage(instrumentMessage(message, bcn), MessageIcon::Exclamation, MessageButtons::Ok);
        return Compatibility{};
    };

    char text[16] = {};
    const std::int32_t rc = link.loggerCompatibility(static_cast<std::int32_t>(bcn), text);
    Compatibility result{true, 2};
    double number = 0.0;
    if (rc == KVX_OK) {
        number = compatibilityNumber(text);
    } else if (rc == KVX_INST_OLD_SOFTWARE) {
        if (needsNewerSoftware(setup)) return refuse(message::kNoEquationsOrCustomRtd);
        number = 1.0;
        result.configurationLevel = 1;
    } else {
        return refuse(message::kCommunicationInterruption);
    }
    if (const int problem = compatibilityProblem(number); problem != 0) return refuse(problem);
    return result;
}

} // namespace korvel
