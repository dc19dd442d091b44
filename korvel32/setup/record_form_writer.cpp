#include "setup/record_form_writer.h"

#include "setup/setup_crc.h"
#include "setup/setup_records.h"

#include <algorithm>

namespace korvel {

namespace {

class FileBuilder {
public:
    void append(std::span<const std::uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        crc_.update(bytes);
    }

    void appendFiller() { append(Record<kFillerSize>{}); }

    void appendU32(std::uint32_t value) {
        const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                       static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
        append(bytes);
    }

    // The CRC goes low byte first, which makes the CRC over the whole file zero.
    std::vector<std::uint8_t> finish() {
        const std::uint16_t crc = crc_.value();
        bytes_.push_back(static_cast<std::uint8_t>(crc));
        bytes_.push_back(static_cast<std::uint8_t>(crc >> 8));
        return std::move(bytes_);
    }

private:
    std::vector<std::uint8_t> bytes_;
    SetupCrc crc_;
};

InstrumentList listOf(const InstrumentTable &instruments) {
    InstrumentList list;
    for (int number = 1; number <= kInstrumentSlots; ++number) {
        const InstrumentSlot &slot = instruments.slot(number);
        if (!slot.inUse) continue;
        ++list.count;
        list.bcns[list.count] = slot.bcn;
        list.roles[list.count] = codeValue(slot.role);
    }
    return list;
}

std::uint32_t definedChannels(const InstrumentSetup &setup) {
    std::uint32_t mask = 0;
    for (int number = 1; number <= kChannelCount; ++number) {
        if (setup.channel(number).function != ChannelFunction::Off) mask |= std::uint32_t{1} << (number - 1);
    }
    return mask;
}

void appendInstrument(FileBuilder &file, const InstrumentSetup &setup) {
    file.append(encodeSetupHeader(setup));
    file.appendU32(definedChannels(setup));
    for (int number = 1; number <= kChannelCount; ++number) {
        const ChannelSetup &channel = setup.channel(number);
        if (channel.function == ChannelFunction::Off) continue;
        if (channel.function != ChannelFunction::Equation) {
            file.append(encodeChannel(channel, channel.equationLength));
        } else {
            // Analog channels have no equation buffer: they store an empty text.
            std::string text = isComputedChannel(number) ? setup.equation(number) : std::string();
            text.resize(std::min(text.size(), kEquationLength));
            const std::uint16_t length = static_cast<std::uint16_t>(text.size() + 1);
            file.append(encodeChannel(channel, length));
            const auto *begin = reinterpret_cast<const std::uint8_t *>(text.c_str());
            file.append(std::span<const std::uint8_t>(begin, length));
        }
        file.appendFiller();
    }
}

} // namespace

std::vector<std::uint8_t> writeRecordForm(const InstrumentTable &instruments, const LoggerOptions &options,
                                          const WindowRect &plotWindow, const PlotSettings &plot) {
    FileBuilder file;
    file.append(encodeFileHeader());
    file.append(encodeInstrumentList(listOf(instruments)));
    file.appendFiller();
    for (int number = 1; number <= kInstrumentSlots; ++number) {
        const InstrumentSlot &slot = instruments.slot(number);
        if (slot.inUse) appendInstrument(file, *slot.setup);
    }
    file.append(encodeLoggerOptions(options, static_cast<std::uint16_t>(instruments.count())));
    file.append(encodeWindowRect(plotWindow));
    file.append(encodePlotSettings(plot));
    file.appendFiller();
    return file.finish();
}

} // namespace korvel
