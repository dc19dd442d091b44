// The codes the setup stores. Every enumerated setting is kept as the number
// of the resource string that names it, and the same numbers are written to
// setup files, so these values are part of the file format.
#pragma once

#include <cstdint>

namespace korvel {

enum class ModelCode : std::uint16_t { M100A = 976, M200A = 977 };

enum class GroupRole : std::uint16_t { Async = 986, Master = 987, Slave = 988 };

enum class TriggerType : std::uint16_t {
    Interval = 64,
    External = 65,
    Alarm = 66,
    IntervalExternal = 67,
    IntervalAlarm = 68,
    ExternalAlarm = 69,
    IntervalExternalAlarm = 70,
};

enum class ReadingRate : std::uint16_t { Slow = 72, Medium = 73, Fast = 74 };

enum class TemperatureUnits : std::uint16_t { Fahrenheit = 0, Celsius = 1 };

enum class ChannelFunction : std::uint16_t {
    Off = 96,
    Vdc = 97,
    Vac = 98,
    Ohms2W = 99,
    Ohms4W = 100,
    Thermocouple = 101,
    Rtd2W = 102,
    Rtd4W = 103,
    Freq = 104,
    Current = 105,
    Average = 106,
    ChanAMinusChanB = 107,
    ChanAMinusAverage = 108,
    Equation = 109,
};

// One code space for every kind of range: voltage, ohms and current ranges,
// the thermocouple type and the RTD kind. An OFF channel holds Off.
enum class RangeCode : std::uint16_t {
    Off = 96,
    Auto = 111,
    Vdc90mV = 112,
    Vdc300mV = 113,
    Vdc3V = 114,
    Vdc30V = 115,
    Vdc50V = 116,
    Vdc150_300V = 117,
    Vac300mV = 118,
    Vac3V = 119,
    Vac30V = 120,
    Vac150_300V = 121,
    Ohms300 = 122,
    Ohms3k = 123,
    Ohms30k = 124,
    Ohms300k = 125,
    Ohms3M = 126,
    RtdFixed385 = 130,
    RtdCustom385 = 131,
    Current4to20mA = 144,
    Current0to100mA = 145,
    TcJ = 146,
    TcK = 147,
    TcE = 148,
    TcT = 149,
    TcN = 150,
    TcR = 151,
    TcS = 152,
    TcB = 153,
    TcC = 154,
};

enum class AlarmSense : std::uint16_t { Off = 208, Lo = 209, Hi = 210 };

// None, then DO0 .. DO7 as None + 1 + line.
enum class AlarmOutput : std::uint16_t { None = 211, Do0 = 212, Do7 = 219 };

enum class FileMode : std::uint16_t { Overwrite = 981, Append = 982 };

enum class FileFormat : std::uint16_t { FastBinary = 983, Ascii = 984, TrendLink = 985 };

// The control ids of the radio buttons of the "Auto Rollover" dialog.
enum class RolloverMode : std::uint16_t { FileSize = 102, TimeInterval = 103, HourOfDay = 104, None = 105 };

// The code as a number, for files and messages.
template <typename Code>
constexpr std::uint16_t codeValue(Code code) {
    return static_cast<std::uint16_t>(code);
}

} // namespace korvel
