#include "setup/record_form_reader.h"

#include "setup/little_endian.h"
#include "setup/model_repairs.h"
#include "setup/record_stream.h"
#include "setup/setup_records.h"
#include "setup/setup_template.h"

namespace korvel {

namespace {

using Status = LoadOutcome::Status;

constexpr double kNewestVersion = 3.0;
constexpr std::size_t kEquationBufferSize = kEquationLength + 1;

// The stored text holds its terminating zero.
std::string equationText(std::span<const std::uint8_t> stored) {
    return stored.empty() ? std::string() : le::getText(stored, 0, stored.size());
}

// Reads one instrument's header and channels into setup; false on a short
// or malformed record.
bool readInstrument(RecordStream &in, InstrumentSetup &setup, ModelCode model, const ChannelSetup &offChannel) {
    const auto header = in.take<kSetupHeaderSize>();
    const auto mask = in.take(4);
    if (!header || !mask) return false;
    decodeSetupHeader(*header, setup);
    const std::uint32_t defined = le::getU32(*mask, 0);
    for (int number = 1; number <= kChannelCount; ++number) {
        ChannelSetup &channel = setup.channel(number);
        if ((defined & (std::uint32_t{1} << (number - 1))) == 0) {
            channel = offChannel;
            continue;
        }
        const auto record = in.take<kChannelRecordSize>();
        if (!record) return false;
        channel = decodeChannel(*record);
        if (channel.function == ChannelFunction::Equation) {
            if (channel.equationLength > kEquationBufferSize) return false;
            const auto text = in.take(channel.equationLength);
            if (!text) return false;
            // Only computed channels have an equation buffer.
            if (isComputedChannel(number)) setup.equation(number) = equationText(*text);
        }
        if (!in.take(kFillerSize)) return false;
        repairForModel(channel, model);
    }
    return true;
}

void applyOptions(const LoggerOptions &stored, SetupTarget &target) {
    LoggerOptions &options = target.options;
    options.wiredGroup = stored.wiredGroup;
    options.simulateData = stored.simulateData;
    options.statusOnAlarm = stored.statusOnAlarm;
    options.statusOnStart = stored.statusOnStart;
    options.resetTotalizer = stored.resetTotalizer;
    options.toolbarHidden = stored.toolbarHidden;
    options.statusBarHidden = stored.statusBarHidden;
    options.splitterHeight = stored.splitterHeight;
    options.mainWindow = stored.mainWindow;
    target.host.applyWindowState(options);
}

// Every instrument of the list, in list order; each one kept in the slot of
// its list position.
Status readInstruments(RecordStream &in, const InstrumentList &list, SetupTarget &target, LoadOutcome &outcome) {
    InstrumentTable &instruments = target.instruments;
    const ChannelSetup &offChannel = instruments.setupTemplate().offChannel;
    for (int position = 1; position <= list.count; ++position) {
        const unsigned bcn = list.bcns[static_cast<std::size_t>(position)];
        ModelCode model = ModelCode::M200A;
        const bool usable = usableBcn(target, bcn, model);
        if (!usable || instruments.find(bcn) != 0) {
            if (!usable) outcome.invalidBcns.push_back(bcn);
            InstrumentSetup discarded;
            if (!readInstrument(in, discarded, model, offChannel)) return Status::Invalid;
            continue;
        }
        if (!instruments.add(position, bcn, model)) return Status::OutOfMemory;
        const auto role = static_cast<GroupRole>(list.roles[static_cast<std::size_t>(position)]);
        const bool secondMaster = role == GroupRole::Master && instruments.masterSlot() != 0;
        const bool known = role == GroupRole::Master || role == GroupRole::Slave;
        instruments.setRole(position, known && !secondMaster ? role : GroupRole::Async);
        if (!readInstrument(in, *instruments.slot(position).setup, model, offChannel)) return Status::Invalid;
    }
    return Status::Loaded;
}

} // namespace

LoadOutcome readRecordForm(std::span<const std::uint8_t> bytes, SetupTarget &target) {
    LoadOutcome outcome;
    RecordStream in(bytes);
    const auto header = in.take<kFileHeaderSize>();
    if (!header) {
        outcome.status = Status::Invalid;
        return outcome;
    }
    outcome.versionText = fileVersionText(*header);
    const double version = fileVersion(outcome.versionText);
    if (!(version > 0.0 && version <= kNewestVersion)) {
        outcome.status = Status::Incompatible;
        return outcome;
    }
    const auto listRecord = in.take<kInstrumentListSize>();
    const InstrumentList list = listRecord ? decodeInstrumentList(*listRecord) : InstrumentList{};
    if (!listRecord || list.count > kInstrumentSlots || !in.take(kFillerSize)) {
        outcome.status = Status::Invalid;
        return outcome;
    }
    outcome.setupReplaced = true;
    removeInstruments(target);

    outcome.status = readInstruments(in, list, target, outcome);
    if (!outcome.loaded()) return outcome;

    const auto options = in.take<kLoggerOptionsSize>();
    if (!options) {
        outcome.status = Status::Invalid;
        return outcome;
    }
    applyOptions(decodeLoggerOptions(*options), target);
    const auto plotRect = in.take<kWindowRectSize>();
    const auto plot = in.take<kPlotSettingsSize>();
    if (plot) target.plot = decodePlotSettings(*plot);
    if (!plotRect || !plot || !in.take(kFillerSize) || !in.take(kCrcSize) || in.crc() != 0) {
        outcome.status = Status::Invalid;
        return outcome;
    }
    completeLoad(target, outcome);
    target.host.moveMainWindow(target.options.mainWindow);
    target.host.movePlotWindow(decodeWindowRect(*plotRect));
    return outcome;
}

} // namespace korvel
