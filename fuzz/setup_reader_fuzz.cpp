// Any bytes through the setup file readers. The first byte is the mode:
//   bit 0 clear: record form; bit 1 clear: the input is laid over a valid
//     file of two instruments (byte by byte XOR, longer inputs go on past
//     its end) and the CRC is put right, so that small inputs explore the
//     records near a file that loads;
//   bit 0 set: text form; bit 1 clear: each input line is a key chosen by its
//     first byte (channel keys also take a type word by their second byte)
//     followed by the rest of the line as its value, so that the keys and
//     words of the form need not be guessed.
// A setup that loads must save, and its saved form must load again and save
// to the same bytes.
#include "setup/record_form_reader.h"
#include "setup/record_form_writer.h"
#include "setup/setup_crc.h"
#include "setup/setup_template.h"
#include "setup/text_form_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace korvel;

// Windows and toolbox as the readers see them: every move remembered, the
// queues of BCNs divisible by 7 refused.
class FuzzHost : public SetupHost {
public:
    void movePlotWindow(const WindowRect &rect) override { plotWindow = rect; }
    WindowRect plotWindowRect() const override { return plotWindow; }
    bool toolboxActive() const override { return true; }
    bool allocateToolboxQueue(unsigned bcn, std::uint32_t) override { return bcn % 7 != 0; }

    WindowRect plotWindow;
};

// Odd BCNs are configured, those below 50 as M100A.
BcnLookup configuredBcn(unsigned bcn) {
    if (bcn % 2 == 0) return {};
    return {1, bcn < 50 ? ModelCode::M100A : ModelCode::M200A};
}

const SetupTemplate &completedTemplate() {
    static const SetupTemplate setupTemplate = [] {
        SetupTemplate completed;
        completed.complete("Label", "VDC");
        return completed;
    }();
    return setupTemplate;
}

const char *const kLines[] = {
    "[KorLogger]",  "[Korvel1]",        "[Korvel2]",      "[Korvel3]",     "[Plot]",          "Position=",
    "SimMode=",     "StatusOnStart=",   "StatusOnAlarm=", "BCN=",          "Group=",          "WiredGroup=",
    "Description=", "MonitorChan=",     "RdgRate=",       "TempUnits=",    "TotalDebounce=",  "TriggerType=",
    "Intvls=",      "Housekeeping=",    "TrigOut=",       "StopScanning=", "StopIntvl=",      "DataFileEnabled=",
    "DataFile=",    "DataFileComment=", "OverWrite=",     "FileFormat=",   "SampleInterval=", "YMinMax=",
    "PlotChans="};
const char *const kChannelTypes[] = {"VDC,",  "VAC,", "OHMS2T,", "OHMS4T,", "FREQ,",    "RTD2W,", "RTD4W,",
                                     "CURR,", "TC,",  "AVG,",    "DIFF,",   "DIFFAVG,", "OFF,"};
constexpr std::size_t kLineCount = std::size(kLines);
constexpr std::size_t kTypeCount = std::size(kChannelTypes);

// The text setup file that the lines of the input describe.
std::string textSetupFile(std::string_view input) {
    std::string file;
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        std::string_view line = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        if (line.empty()) continue;
        const auto selector = static_cast<unsigned char>(line.front());
        line.remove_prefix(1);
        if (selector < kLineCount) {
            file += kLines[selector];
        } else {
            const std::size_t channel = (selector - kLineCount) % 30 + 1;
            const bool label = (selector - kLineCount) / 30 % 2 != 0;
            file += "C" + std::to_string(channel) + (label ? "Label=" : "=");
            if (!label && !line.empty()) {
                file += kChannelTypes[static_cast<unsigned char>(line.front()) % kTypeCount];
                line.remove_prefix(1);
            }
        }
        file.append(line);
        file += "\r\n";
    }
    return file;
}

// The file with its last two bytes made the CRC of everything before them.
std::vector<std::uint8_t> withRightCrc(std::vector<std::uint8_t> file) {
    if (file.size() < 2) return file;
    SetupCrc crc;
    crc.update(std::span(file).first(file.size() - 2));
    file[file.size() - 2] = static_cast<std::uint8_t>(crc.value());
    file[file.size() - 1] = static_cast<std::uint8_t>(crc.value() >> 8);
    return file;
}

struct LoadedSetup {
    InstrumentTable instruments{completedTemplate()};
    LoggerOptions options;
    PlotSettings plot;
    FuzzHost host;

    LoadOutcome loadRecordForm(std::span<const std::uint8_t> bytes) {
        SetupTarget target{instruments, options, plot, host, configuredBcn};
        return readRecordForm(bytes, target);
    }

    LoadOutcome loadTextForm(std::string_view text) {
        SetupTarget target{instruments, options, plot, host, configuredBcn};
        return readTextForm(text, target);
    }

    std::vector<std::uint8_t> save() const { return writeRecordForm(instruments, options, host.plotWindow, plot); }
};

// Master BCN 3 (an M100A) with measuring and computed channels, Slave BCN 51.
std::vector<std::uint8_t> validFile() {
    LoadedSetup setup;
    setup.instruments.add(1, 3, ModelCode::M100A);
    setup.instruments.add(2, 51, ModelCode::M200A);
    setup.instruments.setRole(1, GroupRole::Master);
    setup.instruments.setRole(2, GroupRole::Slave);
    InstrumentSetup &master = *setup.instruments.slot(1).setup;
    master.channel(4).function = ChannelFunction::Thermocouple;
    master.channel(4).range = RangeCode::TcK;
    master.channel(5).function = ChannelFunction::Rtd2W;
    master.channel(5).range = RangeCode::RtdFixed385;
    master.channel(21).function = ChannelFunction::Average;
    master.channel(21).averageSet = channelBit(1) | channelBit(2);
    master.channel(24).function = ChannelFunction::Equation;
    master.equation(24) = "C1+C2*2";
    setup.plot.channels[0] = 301;
    setup.plot.channelCount = 1;
    return setup.save();
}

std::vector<std::uint8_t> overValidFile(std::span<const std::uint8_t> input) {
    static const std::vector<std::uint8_t> base = validFile();
    std::vector<std::uint8_t> file = base;
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (i < file.size()) {
            file[i] ^= input[i];
        } else {
            file.push_back(input[i]);
        }
    }
    return withRightCrc(std::move(file));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0) return 0;
    const bool textForm = (data[0] & 1) != 0;
    const bool raw = (data[0] & 2) != 0;
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    const std::string_view inputText(reinterpret_cast<const char *>(input.data()), input.size());
    LoadedSetup first;
    const LoadOutcome outcome =
        textForm ? first.loadTextForm(raw ? std::string(inputText) : textSetupFile(inputText))
                 : first.loadRecordForm(raw ? std::vector(input.begin(), input.end()) : overValidFile(input));
    if (!outcome.loaded()) return 0;

    const std::vector<std::uint8_t> saved = first.save();
    LoadedSetup second;
    if (!second.loadRecordForm(saved).loaded()) std::abort();
    if (second.save() != saved) std::abort();
    return 0;
}
