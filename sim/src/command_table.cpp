#include "command_table.h"

#include <algorithm>
#include <array>

namespace korvelsim {

namespace {

constexpr std::size_t kConfigType1 = 1492;
constexpr std::size_t kConfigType2 = 2492;
constexpr std::size_t kPassThruBlock = 4 + 2000;

constexpr CommandShape both(std::int32_t code) { return {code, 0, true, true}; }
constexpr CommandShape mainOnly(std::int32_t code, std::size_t payload = 0) { return {code, payload, true, false}; }
constexpr CommandShape passThru(std::int32_t code, std::size_t payload = 0) { return {code, payload, false, true}; }

constexpr std::array kCommands = {
    both(command::kGreeting),
    both(command::kClose),
    both(command::kStatus),
    mainOnly(command::kReset),
    mainOnly(command::kInternalError),
    mainOnly(command::kScansGet, 4),
    mainOnly(command::kScansGetLast),
    mainOnly(command::kScansTrigger, 4),
    mainOnly(command::kScansEnable, 16),
    mainOnly(command::kScansDisable),
    mainOnly(command::kTimeGet),
    mainOnly(command::kTimeSet, 12),
    mainOnly(command::kConfigGet),
    mainOnly(command::kConfigSet, kConfigType1),
    mainOnly(command::kDioGet),
    mainOnly(command::kDioSet, 8),
    mainOnly(command::kSpyGet, 4),
    mainOnly(command::kTotalizerGet),
    mainOnly(command::kTotalizerClear),
    mainOnly(command::kModel),
    mainOnly(command::kSelftestBegin),
    mainOnly(command::kSelftestResult),
    mainOnly(command::kMonitorOn, 4),
    mainOnly(command::kMonitorOff),
    mainOnly(command::kInstrumentBcn),
    mainOnly(command::kTempBlock),
    mainOnly(command::kTempLin, 12),
    mainOnly(command::kTempRefAdj, 8),
    mainOnly(command::kScansClear, 4),
    mainOnly(command::kSpyOn),
    mainOnly(command::kSpyOff),
    mainOnly(command::kScansCount),
    mainOnly(command::kLoggerCompatibility),
    mainOnly(command::kConfigGetWithEquations),
    mainOnly(command::kConfigSetWithEquations, kConfigType2),
    passThru(command::kPassThruEnable, 4),
    passThru(command::kPassThruDisable),
    passThru(command::kPassThruSend, kPassThruBlock),
    passThru(command::kPassThruReceive, 4),
    passThru(command::kPassThruStatus),
    passThru(command::kDioSet2, 8),
    passThru(command::kTotalizerClear2),
};

} // namespace

const CommandShape *findCommand(std::int32_t code) {
    const auto *found = std::find_if(kCommands.begin(), kCommands.end(),
                                     [code](const CommandShape &entry) { return entry.code == code; });
    return found == kCommands.end() ? nullptr : found;
}

} // namespace korvelsim
