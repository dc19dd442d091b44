// Validation of an instrument configuration block against the instrument
// model, before anything is converted or sent. The first problem found is
// reported as a detail code: the kind in the low byte, the channel in bits
// 24..31, and for a time field the field | interval in bits 16..23.
#pragma once

#include "kvlink32.h"

#include <cstddef>
#include <cstdint>

namespace kvlink {

enum ConfigDetailKind : int32_t {
    DetailNone = 0,
    DetailReadingRate = 3,        // reading rate 3
    DetailOptionBits = 4,         // option bits 12..31 set
    DetailFunction = 5,           // unrecognised function code
    DetailComputedSource = 6,     // channel A or B outside 1..29
    DetailSourceOrder = 7,        // no source, or a source at or above the channel
    DetailAlarmBits = 8,          // alarm bits above 31, or both type bits of an alarm
    DetailAlarmLimit = 10,        // limit of an enabled alarm not finite
    DetailScaling = 11,           // M or B not finite
    DetailRange = 12,             // range not allowed for the function and model
    DetailWiring = 13,            // wiring other than two- or four-wire
    DetailRtdR0 = 14,             // R0 not finite or outside 10..1010
    DetailOpenThermocouple = 15,  // open-thermocouple detection not 0 or 1
    DetailSourceOff = 17,         // depends on a channel that is off
    DetailMemoryMode = 25,        // scan memory mode 3
    DetailFourWireHigh = 26,      // four-wire on channels 11..20
    DetailTwoWireRefused = 27,    // two-wire low-ohms or RTD on an M200A
    DetailFourWirePair = 28,      // four-wire channel n while n+10 is defined
    DetailTime = 29,              // a time field out of range
    DetailShunt = 30,             // shunt not finite or outside 10..250
    DetailCurrentOverflow = 32,   // converted M or B beyond the float range
    DetailCurrentUnderflow = 33,  // converted 0-100 mA M below the normal floats
    DetailEquationOffset = 34,    // equation offset above 999
    DetailEquationOverrun = 35,   // byte code runs past the equation area
    DetailEquationNoChannel = 37, // equation refers to no channel
    DetailRtdAlpha = 38,          // Custom-385 alpha not finite or outside 0.00374..0.00393
    DetailEquationChannel = 39,   // equation channel outside 1..30
    DetailEquationCode = 40,      // equation byte code above 15
};

// Function codes of ChannelConfig.function.
enum ChannelFunction : int32_t {
    FunctionOff = KVX_FN_OFF,
    FunctionOhms = KVX_FN_OHMS,
    FunctionVdc = KVX_FN_VDC,
    FunctionVac = KVX_FN_VAC,
    FunctionFreq = KVX_FN_FREQ,
    FunctionRtd = KVX_FN_RTD,
    FunctionThermocouple = KVX_FN_THERMOCOUPLE,
    FunctionCurrent = KVX_FN_CURRENT,
    FunctionAverage = KVX_FN_AVERAGE,
    FunctionDifference = KVX_FN_CHAN_A_MINUS_CHAN_B,
    FunctionAverageDifference = KVX_FN_CHAN_A_MINUS_AVERAGE,
    FunctionEquation = KVX_FN_EQUATION,
};

constexpr int32_t detailCode(ConfigDetailKind kind, uint32_t channel = 0) {
    return static_cast<int32_t>(static_cast<uint32_t>(kind) | (channel << 24));
}

// 0 when the block may be sent to an instrument of this model code, else the
// detail code of the first problem.
int32_t validateConfig(const InstrumentConfig &config, int32_t model);

// Walks one channel's byte code from offset to its end code, collecting the
// channels it reads (bit n-1 = channel n). Never reads outside the area.
// Returns DetailNone or the kind of the problem (34, 35, 39, 40).
ConfigDetailKind walkEquation(const uint8_t (&area)[KVX_EQUATION_AREA], uint32_t offset, uint32_t &sources);

} // namespace kvlink
