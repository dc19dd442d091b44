// The fixed records of the setup file's record form, encoded and decoded
// field by field (little-endian, explicit offsets).
#pragma once

#include "setup/instrument_setup.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"
#include "setup/plot_settings.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace korvel {

constexpr std::size_t kFileHeaderSize = 12;
constexpr std::size_t kInstrumentListSize = 86;
constexpr std::size_t kSetupHeaderSize = 516;
constexpr std::size_t kChannelRecordSize = 126;
constexpr std::size_t kLoggerOptionsSize = 72;
constexpr std::size_t kWindowRectSize = 8;
constexpr std::size_t kPlotSettingsSize = 28;
constexpr std::size_t kFillerSize = 32;
constexpr std::size_t kCrcSize = 2;

template <std::size_t Size>
using Record = std::array<std::uint8_t, Size>;
template <std::size_t Size>
using RecordView = std::span<const std::uint8_t, Size>;

// The BCN and group-role lists; entry 0 is never used.
struct InstrumentList {
    std::uint16_t count = 0;
    std::array<std::uint16_t, kInstrumentSlots + 1> bcns{};
    std::array<std::uint16_t, kInstrumentSlots + 1> roles{};
};

Record<kFileHeaderSize> encodeFileHeader();
// True when the first four bytes mark the record form.
bool isRecordForm(std::span<const std::uint8_t> start);
// The version text of the header (bytes 6..10).
std::string fileVersionText(RecordView<kFileHeaderSize> header);
// The version number the text reads as (0 when it is no number).
double fileVersion(const std::string &versionText);

Record<kInstrumentListSize> encodeInstrumentList(const InstrumentList &list);
InstrumentList decodeInstrumentList(RecordView<kInstrumentListSize> record);

Record<kSetupHeaderSize> encodeSetupHeader(const InstrumentSetup &setup);
// Fills the header fields of the setup; its channels are left alone.
void decodeSetupHeader(RecordView<kSetupHeaderSize> record, InstrumentSetup &setup);

// equationLength is written in place of the channel's own.
Record<kChannelRecordSize> encodeChannel(const ChannelSetup &channel, std::uint16_t equationLength);
ChannelSetup decodeChannel(RecordView<kChannelRecordSize> record);

Record<kLoggerOptionsSize> encodeLoggerOptions(const LoggerOptions &options, std::uint16_t instrumentCount);
LoggerOptions decodeLoggerOptions(RecordView<kLoggerOptionsSize> record);

Record<kWindowRectSize> encodeWindowRect(const WindowRect &rect);
WindowRect decodeWindowRect(RecordView<kWindowRectSize> record);

Record<kPlotSettingsSize> encodePlotSettings(const PlotSettings &plot);
PlotSettings decodePlotSettings(RecordView<kPlotSettingsSize> record);

} // namespace korvel
