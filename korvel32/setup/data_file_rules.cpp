#include "setup/data_file_rules.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace korvel {

namespace {

constexpr std::array<const char *, 3> kExtensions{".bin", ".csv", ".set"}; // by format, from Fast Binary

bool endsWithExtension(const std::string &path, const char *extension) {
    const std::string wanted(extension);
    if (path.size() < wanted.size()) return false;
    return std::equal(
        wanted.begin(), wanted.end(), path.end() - static_cast<std::ptrdiff_t>(wanted.size()), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
}

std::size_t formatPosition(FileFormat format) {
    return static_cast<std::size_t>(codeValue(format) - codeValue(FileFormat::FastBinary));
}

} // namespace

bool uncPath(const std::string &path) { return path.starts_with("\\\\") || path.starts_with("//"); }

DataFileConfigurationModel::DataFileConfigurationModel(const InstrumentSetup &working, const InstrumentTable &table,
                                                       int slot, const InstrumentIdentity &identity, char decimalSymbol)
        : identity_(identity), decimalSymbol_(decimalSymbol), setup_(working), file_(working.dataFile) {
    if (identity.slave() && table.masterSlot() != 0) file_ = table.slot(table.masterSlot()).setup->dataFile;
    for (int other = 1; other <= kInstrumentSlots; ++other) {
        const InstrumentSlot &entry = table.slot(other);
        if (other == slot || !entry.inUse || !entry.setup->dataFile.enabled) continue;
        others_.push_back({entry.bcn, entry.setup->dataFile.path, entry.setup->dataFile.format});
    }
}

std::string DataFileConfigurationModel::caption() const {
    return instrumentCaption("Data File Configuration", identity_);
}

std::vector<std::string> DataFileConfigurationModel::formatItems() {
    std::vector<std::string> items{"None"};
    for (auto code = codeValue(FileFormat::FastBinary); code <= codeValue(FileFormat::TrendLink); ++code) {
        items.push_back(resourceString(code));
    }
    return items;
}

int DataFileConfigurationModel::formatIndex() const {
    return file_.enabled ? static_cast<int>(formatPosition(file_.format)) + 1 : 0;
}

void DataFileConfigurationModel::chooseFormat(int index) {
    if (index < 0 || index > static_cast<int>(kExtensions.size())) return;
    file_.enabled = index > 0;
    if (!file_.enabled) return;
    file_.format = static_cast<FileFormat>(codeValue(FileFormat::FastBinary) + index - 1);
    for (const char *extension : kExtensions) {
        if (!endsWithExtension(file_.path, extension)) continue;
        file_.path.replace(file_.path.size() - std::char_traits<char>::length(extension), std::string::npos,
                           kExtensions[formatPosition(file_.format)]);
        break;
    }
}

bool DataFileConfigurationModel::enabled(DataFileControl control) const {
    const bool trendLink = file_.enabled && file_.format == FileFormat::TrendLink;
    if (identity_.slave()) return control == DataFileControl::Ok || (control == DataFileControl::Deadband && trendLink);
    switch (control) {
        case DataFileControl::Format: return true;
        case DataFileControl::Ok: return !file_.enabled || !file_.path.empty();
        case DataFileControl::Deadband:
        case DataFileControl::BatchOptions: return trendLink;
        case DataFileControl::Append:
        case DataFileControl::Overwrite: return file_.enabled && !trendLink;
        default: return file_.enabled;
    }
}

DeadbandValuesModel DataFileConfigurationModel::deadband() const {
    return DeadbandValuesModel(setup_, identity_, decimalSymbol_);
}

void DataFileConfigurationModel::acceptDeadband(const DeadbandValuesModel &accepted) {
    accepted.applyTo(setup_);
    subDialogAccepted_ = true;
}

AutoRolloverModel DataFileConfigurationModel::autoRollover() const {
    return AutoRolloverModel(file_, identity_, decimalSymbol_);
}

void DataFileConfigurationModel::acceptAutoRollover(const AutoRolloverModel &accepted) {
    accepted.applyTo(file_);
    subDialogAccepted_ = true;
}

BatchOptionsModel DataFileConfigurationModel::batchOptions() const { return BatchOptionsModel(file_, identity_); }

void DataFileConfigurationModel::acceptBatchOptions(const BatchOptionsModel &accepted) {
    accepted.applyTo(file_);
    subDialogAccepted_ = true;
}

Checked<DataFileControl> DataFileConfigurationModel::accept() {
    if (identity_.slave() || !file_.enabled) return std::nullopt;
    if (const auto other = instrumentWithSamePath()) {
        return Refusal<DataFileControl>{message::kFilenameInUse, instrumentMessage(message::kFilenameInUse, *other),
                                        DataFileControl::Path};
    }
    if (file_.format == FileFormat::TrendLink && uncPath(file_.path)) {
        return refuse(message::kTrendLinkUncPath, DataFileControl::Path);
    }
    return std::nullopt;
}

bool DataFileConfigurationModel::mayCancel(UserInterface &ui) const {
    return !subDialogAccepted_ || askedYes(ui, resourceString(message::kLowerDialogChangesLost));
}

void DataFileConfigurationModel::applyTo(InstrumentSetup &working) const {
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        working.channel(channel).deadband = setup_.channel(channel).deadband;
    }
    if (!identity_.slave()) working.dataFile = file_;
}

std::optional<unsigned> DataFileConfigurationModel::instrumentWithSamePath() const {
    const bool trendLink = file_.format == FileFormat::TrendLink;
    for (const OtherFile &other : others_) {
        if (other.path == file_.path) return other.bcn;
        if (trendLink && dataSetOf_ && other.format == FileFormat::TrendLink &&
            dataSetOf_(other.path) == dataSetOf_(file_.path)) {
            return other.bcn;
        }
    }
    return std::nullopt;
}

} // namespace korvel
