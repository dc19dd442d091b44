#include "datafiles/trend_link_interface.h"

#include "datafiles/trend_link_names.h"
#include "datafiles/trend_link_settings.h"
#include "platform/file_exists.h"
#include "platform/ini_profile.h"
#include "platform/string_table.h"
#include "setup/text_format.h"

#include <filesystem>

namespace korvel {
namespace {

constexpr char kWindowsProgramSuffix[] = ".exe";

} // namespace

TrendLinkInterface::TrendLinkInterface(TrendLinkLibrary &library, UserInterface &ui) : library_(library), ui_(ui) {}

std::string TrendLinkInterface::setting(const char *key, const char *defaultValue, std::size_t bufferSize) const {
    return readProfileString(paths_.settingsPath, trend_link_settings::kSection, key, defaultValue, bufferSize);
}

std::string TrendLinkInterface::directorySetting() const {
    using namespace trend_link_settings;
    return setting(kDirectoryKey, kDefaultDirectory, kDirectoryBufferSize);
}

std::string TrendLinkInterface::directoryOf(const std::string &setting) const {
    return setting.starts_with('/') ? setting : paths_.programDirectory;
}

std::string TrendLinkInterface::directory() const { return directoryOf(directorySetting()); }

bool TrendLinkInterface::writeDirectorySetting(const std::string &directory) const {
    return writeProfileString(paths_.settingsPath, trend_link_settings::kSection, trend_link_settings::kDirectoryKey,
                              directory);
}

bool TrendLinkInterface::load() {
    if (library_.loaded()) return true;
    const std::string written = directorySetting();
    std::string chosen = written;
    for (;;) {
        switch (library_.load(directoryOf(chosen), paths_.programDirectory)) {
            case TrendLinkLoad::Loaded:
                // Nothing is lost when the directory cannot be kept: it is asked for again next time.
                if (chosen != written) writeDirectorySetting(chosen);
                return true;
            case TrendLinkLoad::FunctionMissing:
                showMessage(resourceString(message::kTrendLinkFunctionMissing));
                return false;
            case TrendLinkLoad::LibraryMissing:
            case TrendLinkLoad::StartFailed: break;
        }
        // The system's reason tells where the library was looked for.
        const std::string &reason = library_.loadError();
        showMessage(resourceString(message::kTrendLinkNotLoaded) + (reason.empty() ? "" : "\r\n" + reason));
        const std::optional<std::string> other = chooser_ ? chooser_(chosen) : std::nullopt;
        if (!other) return false;
        chosen = *other;
    }
}

ChartProgramStart TrendLinkInterface::chartProgramStart(const DataFileSetup *file) const {
    using namespace trend_link_settings;
    ChartProgramStart start;
    const std::filesystem::path folder = directory();
    std::string program = setting(kProgramKey, kDefaultProgram, kValueBufferSize);
    // The Windows name of the chart program names the one installed here.
    if (!fileExists(folder / program) && program.ends_with(kWindowsProgramSuffix))
        program.resize(program.size() - std::char_traits<char>::length(kWindowsProgramSuffix));
    start.program = (folder / program).string();
    if (file == nullptr || !file->enabled || file->format != FileFormat::TrendLink) return start;
    const std::string chart = chartFilePath(file->path);
    if (!fileExists(chart)) return start;
    start.chartFile = chart;
    const std::string title = setting(kTitleKey, resourceString(kDefaultTitleString).c_str(), kValueBufferSize);
    start.windowTitle = title + " - " + std::filesystem::path(chart).filename().string();
    return start;
}

void TrendLinkInterface::showMessage(const std::string &text) {
    ui_.showMessage(text, MessageIcon::Exclamation, MessageButtons::Ok);
}

void TrendLinkInterface::showFunctionFailure(unsigned bcn, const char *function) {
    showMessage(filledIn(instrumentMessage(message::kTrendLinkFunctionFailed, bcn), "%s",
                         {function, library_.getLastErrorString()}));
}

} // namespace korvel
