#include "setup/text_form_reader.h"

#include "setup/field_scanner.h"
#include "setup/profile_sections.h"
#include "setup/setup_template.h"
#include "setup/text_channel.h"

#include <array>
#include <string>

namespace korvel {

namespace {

using Status = LoadOutcome::Status;

constexpr char kLoggerSection[] = "KorLogger";
constexpr char kPlotSection[] = "Plot";
constexpr std::uint32_t kLongestStopInterval = 3602439; // 999 h 99 min 99 s
constexpr double kLongestInterval = 86400.0001;

template <typename Code>
struct Keyword {
    const char *word;
    Code code;
};

// The code of a keyword value, when it is one of the table's.
template <typename Code, std::size_t Size>
bool lookUpKeyword(const std::string &value, const std::array<Keyword<Code>, Size> &table, Code &code) {
    for (const Keyword<Code> &entry : table) {
        if (sameWord(value, entry.word)) {
            code = entry.code;
            return true;
        }
    }
    return false;
}

constexpr std::array<Keyword<ReadingRate>, 3> kReadingRates{
    {{"Slow", ReadingRate::Slow}, {"Medium", ReadingRate::Medium}, {"Fast", ReadingRate::Fast}}};
constexpr std::array<Keyword<TemperatureUnits>, 2> kTemperatureUnits{
    {{"Celsius", TemperatureUnits::Celsius}, {"Fahrenheit", TemperatureUnits::Fahrenheit}}};
constexpr std::array<Keyword<TriggerType>, 7> kTriggerTypes{{{"Intvl", TriggerType::Interval},
                                                             {"Intvl+Ext", TriggerType::IntervalExternal},
                                                             {"Intvl+Alarm", TriggerType::IntervalAlarm},
                                                             {"Ext", TriggerType::External},
                                                             {"Alarm", TriggerType::Alarm},
                                                             {"Ext+Alarm", TriggerType::ExternalAlarm},
                                                             {"Intvl+Ext+Alarm", TriggerType::IntervalExternalAlarm}}};
constexpr std::array<Keyword<FileMode>, 2> kOverwrite{{{"Yes", FileMode::Overwrite}, {"No", FileMode::Append}}};
constexpr std::array<Keyword<FileFormat>, 3> kFileFormats{
    {{"Binary", FileFormat::FastBinary}, {"ASCII", FileFormat::Ascii}, {"TL", FileFormat::TrendLink}}};
constexpr std::array<Keyword<bool>, 2> kYesNo{{{"Yes", true}, {"No", false}}};

class TextSetupReader {
public:
    TextSetupReader(std::string_view content, SetupTarget &target) : profile_(content), target_(target) {}

    LoadOutcome read();

private:
    std::string value(std::string_view key) const { return profile_.value(section_, key); }
    int integer(std::string_view key, int fallback) const;

    template <typename Code, std::size_t Size>
    void keyword(std::string_view key, const std::array<Keyword<Code>, Size> &table, Code &field) const {
        lookUpKeyword(value(key), table, field);
    }
    void text(std::string_view key, std::size_t longest, std::string &field) const {
        field = value(key).substr(0, longest);
    }

    void readLoggerSection();
    // False when memory ran out.
    bool readInstrumentSection(int slot);
    void readScanSettings(InstrumentSetup &setup) const;
    void readDataFileSettings(DataFileSetup &file) const;
    void readChannels(InstrumentSetup &setup, ModelCode model) const;
    void readPlotSection();
    std::optional<WindowRect> position() const;

    ProfileSections profile_;
    SetupTarget &target_;
    std::string section_;
    LoadOutcome outcome_;
};

int TextSetupReader::integer(std::string_view key, int fallback) const {
    const std::string text = value(key);
    if (text.empty()) return fallback;
    return static_cast<int>(FieldScanner(text).readSigned().value_or(0));
}

// "left,top,right,bottom" as four 16-bit numbers, when all four are there.
std::optional<WindowRect> TextSetupReader::position() const {
    FieldScanner in(value("Position"));
    std::array<std::int16_t, 4> sides{};
    for (std::size_t i = 0; i < sides.size(); ++i) {
        const auto side = (i == 0 || in.literal(',')) ? in.readUnsigned() : std::nullopt;
        if (!side) return std::nullopt;
        sides[i] = static_cast<std::int16_t>(*side);
    }
    return WindowRect{sides[0], sides[1], sides[2], sides[3]};
}

void TextSetupReader::readLoggerSection() {
    section_ = kLoggerSection;
    LoggerOptions &options = target_.options;
    if (const auto rect = position()) {
        options.mainWindow = *rect; // saved again as it was read, as the record form's is
        target_.host.moveMainWindow(*rect);
    }
    keyword("SimMode", kYesNo, options.simulateData);
    keyword("StatusOnStart", kYesNo, options.statusOnStart);
    keyword("StatusOnAlarm", kYesNo, options.statusOnAlarm);
}

void TextSetupReader::readScanSettings(InstrumentSetup &setup) const {
    text("Description", kDescriptionLength, setup.description);
    const int monitor = integer("MonitorChan", setup.monitorChannel);
    if (monitor >= 0 && monitor <= kChannelCount) setup.monitorChannel = static_cast<std::uint16_t>(monitor);
    keyword("RdgRate", kReadingRates, setup.readingRate);
    keyword("TempUnits", kTemperatureUnits, setup.temperatureUnits);
    keyword("TotalDebounce", kYesNo, setup.totalizerDebounce);
    keyword("TriggerType", kTriggerTypes, setup.triggerType);

    FieldScanner intervals(value("Intvls"));
    const auto first = intervals.readDouble();
    const auto second = first && intervals.literal(',') ? intervals.readDouble() : std::nullopt;
    const auto inRange = [](double seconds) { return seconds > -0.0001 && seconds < kLongestInterval; };
    if (first && second && inRange(*first) && inRange(*second)) {
        setup.interval1 = *first;
        setup.interval2 = *second;
    }
    keyword("Housekeeping", kYesNo, setup.driftCorrection);
    keyword("TrigOut", kYesNo, setup.triggerOut);
    keyword("StopScanning", kYesNo, setup.stopAfterDuration);
    const int stopInterval = integer("StopIntvl", 0);
    if (stopInterval >= 1 && static_cast<std::uint32_t>(stopInterval) <= kLongestStopInterval) {
        setup.duration = static_cast<std::uint32_t>(stopInterval);
    }
}

void TextSetupReader::readDataFileSettings(DataFileSetup &file) const {
    keyword("DataFileEnabled", kYesNo, file.enabled);
    text("DataFile", kDataFilePathLength, file.path);
    text("DataFileComment", kDataFileCommentLength, file.comment);
    keyword("OverWrite", kOverwrite, file.mode);
    keyword("FileFormat", kFileFormats, file.format);
}

void TextSetupReader::readChannels(InstrumentSetup &setup, ModelCode model) const {
    const ChannelSetup &offChannel = target_.instruments.setupTemplate().offChannel;
    for (int number = 1; number <= kChannelCount; ++number) {
        setup.channel(number) = readTextChannel(value("C" + std::to_string(number)), number, setup, model, offChannel);
    }
    for (int number = 1; number <= kChannelCount; ++number) {
        text("C" + std::to_string(number) + "Label", kChannelLabelLength, setup.channel(number).label);
    }
    if (setup.monitorChannel != 0 && setup.channel(setup.monitorChannel).function == ChannelFunction::Off) {
        setup.monitorChannel = 0;
    }
}

bool TextSetupReader::readInstrumentSection(int slot) {
    section_ = "Korvel" + std::to_string(slot);
    if (!profile_.hasKeys(section_)) return true;
    InstrumentTable &instruments = target_.instruments;
    const int bcnValue = integer("BCN", 0);
    const unsigned bcn = static_cast<unsigned>(bcnValue);
    ModelCode model = ModelCode::M200A;
    if (bcnValue < 0 || !usableBcn(target_, bcn, model)) {
        outcome_.invalidBcns.push_back(bcn);
        return true;
    }
    if (instruments.find(bcn) != 0) return true;
    if (!instruments.add(slot, bcn, model)) return false;

    const std::string group = value("Group");
    if (sameWord(group, "Master") && instruments.masterSlot() == 0) instruments.setRole(slot, GroupRole::Master);
    if (sameWord(group, "Slave")) instruments.setRole(slot, GroupRole::Slave);
    keyword("WiredGroup", kYesNo, target_.options.wiredGroup);

    InstrumentSetup &setup = *instruments.slot(slot).setup;
    readScanSettings(setup);
    readDataFileSettings(setup.dataFile);
    readChannels(setup, model);
    return true;
}

void TextSetupReader::readPlotSection() {
    section_ = kPlotSection;
    if (const auto rect = position()) target_.host.movePlotWindow(*rect);
    PlotSettings &plot = target_.plot;
    const int interval = integer("SampleInterval", 20);
    plot.samplingInterval = static_cast<std::uint16_t>(interval >= 1 && interval <= 3600 ? interval : 1);

    FieldScanner scale(value("YMinMax"));
    const auto minimum = scale.readDouble();
    const auto maximum = minimum && scale.literal(',') ? scale.readDouble() : std::nullopt;
    const bool taken = minimum && maximum && static_cast<float>(*maximum) - static_cast<float>(*minimum) >= 1e-8f;
    plot.minimum = taken ? static_cast<float>(*minimum) : 0.0f;
    plot.maximum = taken ? static_cast<float>(*maximum) : 5.0f;

    FieldScanner channels(value("PlotChans"));
    bool reading = true;
    for (std::size_t i = 0; i < kPlotChannels; ++i) {
        const auto identifier = reading && (i == 0 || channels.literal(',')) ? channels.readUnsigned() : std::nullopt;
        reading = identifier.has_value();
        plot.channels[i] = static_cast<std::uint16_t>(identifier.value_or(0));
    }
}

LoadOutcome TextSetupReader::read() {
    if (!profile_.hasKeys(kLoggerSection)) {
        outcome_.status = Status::Invalid;
        return outcome_;
    }
    outcome_.setupReplaced = true;
    readLoggerSection();
    removeInstruments(target_);
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (!readInstrumentSection(slot)) {
            outcome_.status = Status::OutOfMemory;
            return outcome_;
        }
    }
    readPlotSection();
    completeLoad(target_, outcome_);
    return outcome_;
}

} // namespace

LoadOutcome readTextForm(std::string_view content, SetupTarget &target) {
    return TextSetupReader(content, target).read();
}

} // namespace korvel
