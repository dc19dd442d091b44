// Which commands an instrument knows, on which connection, and the exact
// request payload size each one carries.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvelsim {

enum class Link { Main, PassThru };

// The command numbers of the wire protocol.
namespace command {
inline constexpr std::int32_t kGreeting = 0; // connection set-up
inline constexpr std::int32_t kClose = 1;    // before a connection closes
inline constexpr std::int32_t kStatus = 2;
inline constexpr std::int32_t kReset = 3;
inline constexpr std::int32_t kInternalError = 4;
inline constexpr std::int32_t kScansGet = 100;
inline constexpr std::int32_t kScansGetLast = 101;
inline constexpr std::int32_t kScansTrigger = 102;
inline constexpr std::int32_t kScansEnable = 103; // now or at a given time
inline constexpr std::int32_t kScansDisable = 104;
inline constexpr std::int32_t kTimeGet = 105;
inline constexpr std::int32_t kTimeSet = 106;
inline constexpr std::int32_t kConfigGet = 107; // without the equation area
inline constexpr std::int32_t kConfigSet = 108; // without the equation area
inline constexpr std::int32_t kDioGet = 109;
inline constexpr std::int32_t kDioSet = 110;
inline constexpr std::int32_t kSpyGet = 111;
inline constexpr std::int32_t kTotalizerGet = 112;
inline constexpr std::int32_t kTotalizerClear = 113;
inline constexpr std::int32_t kModel = 114;
inline constexpr std::int32_t kSelftestBegin = 115;
inline constexpr std::int32_t kSelftestResult = 116;
inline constexpr std::int32_t kMonitorOn = 117;
inline constexpr std::int32_t kMonitorOff = 118;
inline constexpr std::int32_t kInstrumentBcn = 119;
inline constexpr std::int32_t kTempBlock = 120;
inline constexpr std::int32_t kTempLin = 121;
inline constexpr std::int32_t kTempRefAdj = 122;
inline constexpr std::int32_t kScansClear = 123;
inline constexpr std::int32_t kSpyOn = 124;
inline constexpr std::int32_t kSpyOff = 125;
inline constexpr std::int32_t kScansCount = 126;
inline constexpr std::int32_t kLoggerCompatibility = 127;
inline constexpr std::int32_t kConfigGetWithEquations = 128;
inline constexpr std::int32_t kConfigSetWithEquations = 129;
inline constexpr std::int32_t kPassThruEnable = 200;
inline constexpr std::int32_t kPassThruDisable = 201;
inline constexpr std::int32_t kPassThruSend = 202;
inline constexpr std::int32_t kPassThruReceive = 203;
inline constexpr std::int32_t kPassThruStatus = 204;
inline constexpr std::int32_t kDioSet2 = 205;
inline constexpr std::int32_t kTotalizerClear2 = 206;
} // namespace command

// Error codes the simulated instrument answers with for requests it cannot take.
inline constexpr std::int32_t kUnknownCommand = -1;   // unknown here, or wrong connection
inline constexpr std::int32_t kMalformedRequest = -9; // payload size not the command's
inline constexpr std::int32_t kNoReading = -10;
inline constexpr std::int32_t kStillBusy = -3;        // still completing the last command
inline constexpr std::int32_t kStartTimePassed = -11; // scheduled start already in the past

struct CommandShape {
    std::int32_t code;
    std::size_t requestPayload;
    bool onMain;
    bool onPassThru;
};

// Null for a command the instrument does not know at all.
const CommandShape *findCommand(std::int32_t code);

inline bool allowedOn(const CommandShape &entry, Link link) {
    return link == Link::Main ? entry.onMain : entry.onPassThru;
}

} // namespace korvelsim
