#include "setup/text_channel.h"

#include "setup/channel_functions.h"
#include "setup/field_scanner.h"
#include "setup/model_repairs.h"
#include "setup/profile_sections.h"
#include "setup/temperature_labels.h"

#include <cmath>
#include <string>

namespace korvel {

namespace {

constexpr std::size_t kAlarmSenses = 3;
constexpr std::size_t kAlarmOutputs = 9;

struct ChannelFields {
    explicit ChannelFields(std::string_view value) : fields(value) {}

    // The first character of a field, or none.
    char character(std::size_t index) const {
        const auto field = fields.from(index);
        return field && !field->empty() ? field->front() : '\0';
    }

    FieldScanner scanner(std::size_t index) const { return FieldScanner(fields.from(index).value_or("")); }

    std::optional<std::uint64_t> unsignedAt(std::size_t index) const { return scanner(index).readUnsigned(); }
    std::optional<double> doubleAt(std::size_t index) const { return scanner(index).readDouble(); }

    ValueFields fields;
};

// d "1" .. "count" chooses the count ranges from first, anything else Auto.
RangeCode digitRange(char digit, int count, RangeCode first) {
    if (digit < '1' || digit >= '1' + count) return RangeCode::Auto;
    return static_cast<RangeCode>(codeValue(first) + (digit - '1'));
}

RangeCode thermocoupleType(char letter) {
    switch (letter) {
        case 'B': return RangeCode::TcB;
        case 'C': return RangeCode::TcC;
        case 'E': return RangeCode::TcE;
        case 'K': return RangeCode::TcK;
        case 'N': return RangeCode::TcN;
        case 'R': return RangeCode::TcR;
        case 'S': return RangeCode::TcS;
        case 'T': return RangeCode::TcT;
        default: return RangeCode::TcJ;
    }
}

double withinOr(std::optional<double> value, double lowest, double highest, double fallback) {
    return value && *value >= lowest && *value <= highest ? *value : fallback;
}

// The type-specific fields; returns the index of the first field of the
// scaling, alarms and units that every type shares, 0 for an unknown type.
std::size_t readTypeFields(std::string_view type, const ChannelFields &in, ChannelSetup &channel,
                           const ChannelSetup &offChannel) {
    const auto is = [&](std::string_view word) { return sameWord(type, word); };
    if (is("VDC") || is("VAC") || is("OHMS2T") || is("OHMS4T")) {
        const char digit = in.character(1);
        if (is("VDC")) {
            channel.function = ChannelFunction::Vdc;
            channel.range = digitRange(digit, 6, RangeCode::Vdc90mV);
        } else if (is("VAC")) {
            channel.function = ChannelFunction::Vac;
            channel.range = digitRange(digit, 4, RangeCode::Vac300mV);
        } else {
            channel.function = is("OHMS2T") ? ChannelFunction::Ohms2W : ChannelFunction::Ohms4W;
            channel.range = digitRange(digit, 5, RangeCode::Ohms300);
        }
        return 2;
    }
    if (is("FREQ")) {
        channel.function = ChannelFunction::Freq;
        channel.range = RangeCode::Auto;
        return 1;
    }
    if (is("RTD2W") || is("RTD4W")) {
        channel.function = is("RTD2W") ? ChannelFunction::Rtd2W : ChannelFunction::Rtd4W;
        channel.range = RangeCode::RtdFixed385;
        channel.r0 = withinOr(in.doubleAt(1), 10.0, 1010.0, 100.0);
        return 2;
    }
    if (is("CURR")) {
        channel.function = ChannelFunction::Current;
        channel.range = in.character(1) == '1' ? RangeCode::Current4to20mA : RangeCode::Current0to100mA;
        channel.shunt = withinOr(in.doubleAt(2), 10.0, 250.0, 10.0);
        return 3;
    }
    if (is("TC")) {
        channel.function = ChannelFunction::Thermocouple;
        channel.range = thermocoupleType(in.character(1));
        channel.openTcDetect = in.character(2) == '1';
        return 3;
    }
    if (is("AVG")) {
        channel.function = ChannelFunction::Average;
        channel.averageSet = static_cast<std::uint32_t>(in.unsignedAt(1).value_or(offChannel.averageSet));
        return 2;
    }
    if (is("DIFF")) {
        channel.function = ChannelFunction::ChanAMinusChanB;
        channel.channelA = static_cast<std::uint16_t>(in.unsignedAt(1).value_or(offChannel.channelA));
        channel.channelB = static_cast<std::uint16_t>(in.unsignedAt(2).value_or(offChannel.channelB));
        return 3;
    }
    if (is("DIFFAVG")) {
        channel.function = ChannelFunction::ChanAMinusAverage;
        channel.channelA = static_cast<std::uint16_t>(in.unsignedAt(1).value_or(offChannel.channelA));
        channel.averageSet = static_cast<std::uint32_t>(in.unsignedAt(2).value_or(offChannel.averageSet));
        return 3;
    }
    return 0;
}

// A computed channel may use only defined channels below itself.
bool usableSource(unsigned source, int number, const InstrumentSetup &setup) {
    return source >= 1 && source < static_cast<unsigned>(number) &&
           setup.channel(static_cast<int>(source)).function != ChannelFunction::Off;
}

std::uint32_t usableSources(std::uint32_t set, int number, const InstrumentSetup &setup) {
    std::uint32_t usable = 0;
    for (int source = 1; source < number; ++source) {
        if ((set & channelBit(source)) != 0 && usableSource(static_cast<unsigned>(source), number, setup)) {
            usable |= channelBit(source);
        }
    }
    return usable;
}

// False when the channel cannot be what its type says in this place.
bool fitsChannel(ChannelSetup &channel, int number, const InstrumentSetup &setup) {
    if (isComputedChannel(number) == isAnalogFunction(channel.function)) return false;
    if (number > kFourWireChannels && number <= kAnalogChannels) {
        // Channels 11..20 carry the second pair of leads of a 4-wire channel 1..10.
        if (isFourWire(channel.function) || isFourWire(setup.channel(number - kFourWireChannels).function))
            return false;
    }
    switch (channel.function) {
        case ChannelFunction::Average:
            channel.averageSet = usableSources(channel.averageSet, number, setup);
            return channel.averageSet != 0;
        case ChannelFunction::ChanAMinusAverage:
            channel.averageSet = usableSources(channel.averageSet, number, setup);
            return channel.averageSet != 0 && usableSource(channel.channelA, number, setup);
        case ChannelFunction::ChanAMinusChanB:
            return usableSource(channel.channelA, number, setup) && usableSource(channel.channelB, number, setup);
        default: return true;
    }
}

void readScaling(const ChannelFields &in, std::size_t first, ChannelSetup &channel, const ChannelSetup &offChannel) {
    FieldScanner scaling = in.scanner(first);
    const auto m = scaling.readDouble();
    const auto b = m && scaling.literal(',') ? scaling.readDouble() : std::nullopt;
    const bool taken = m && b && std::fabs(*m) <= kValueLimit;
    channel.m = taken ? *m : offChannel.m;
    channel.b = taken ? *b : offChannel.b;
    channel.mxbEnabled = !(channel.m > 0.99999 && channel.m < 1.00001 && channel.b > -1e-8 && channel.b < 1e-8);
    if (!channel.mxbEnabled) {
        channel.m = 1.0;
        channel.b = 0.0;
    }
}

// "sense index, value, output index"; anything unreadable or out of range
// leaves the alarm OFF.
AlarmSetup readAlarm(const ChannelFields &in, std::size_t first) {
    FieldScanner alarm = in.scanner(first);
    const auto sense = alarm.readUnsigned();
    const auto value = sense && alarm.literal(',') ? alarm.readDouble() : std::nullopt;
    const auto output = value && alarm.literal(',') ? alarm.readUnsigned() : std::nullopt;
    if (!output) return {};
    const auto senseIndex = static_cast<std::uint16_t>(*sense);
    const auto outputIndex = static_cast<std::uint16_t>(*output);
    if (senseIndex >= kAlarmSenses || std::fabs(*value) > kValueLimit || outputIndex >= kAlarmOutputs) return {};
    return {static_cast<AlarmSense>(codeValue(AlarmSense::Off) + senseIndex), *value,
            static_cast<AlarmOutput>(codeValue(AlarmOutput::None) + outputIndex)};
}

std::string readUnits(const ChannelFields &in, std::size_t first, ChannelFunction function, TemperatureUnits units) {
    std::string_view text = in.fields.from(first).value_or("");
    text = text.substr(0, text.find('\r')).substr(0, kUnitsLabelLength);
    if (measuresTemperature(function) && text == "Degrees") {
        return units == TemperatureUnits::Celsius ? kCelsiusUnitsLabel : kFahrenheitUnitsLabel;
    }
    return std::string(text);
}

} // namespace

ChannelSetup readTextChannel(std::string_view value, int number, const InstrumentSetup &setup, ModelCode model,
                             const ChannelSetup &offChannel) {
    const std::size_t comma = value.find(',');
    if (comma == std::string_view::npos) return offChannel;
    const ChannelFields in(value);
    ChannelSetup channel = offChannel;
    const std::size_t common = readTypeFields(value.substr(0, comma), in, channel, offChannel);
    if (common == 0 || !fitsChannel(channel, number, setup)) return offChannel;
    repairForModel(channel, model);

    readScaling(in, common, channel, offChannel);
    channel.alarmTrigger = in.character(common + 2) == '1';
    channel.alarm1 = readAlarm(in, common + 3);
    channel.alarm2 = readAlarm(in, common + 6);
    channel.unitsLabel = readUnits(in, common + 9, channel.function, setup.temperatureUnits);
    return channel;
}

} // namespace korvel
