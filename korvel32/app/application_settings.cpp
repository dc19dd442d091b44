#include "app/application_settings.h"

#include "datafiles/trend_link_settings.h"
#include "platform/ini_profile.h"
#include "platform/string_table.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace korvel {
namespace {

constexpr const char *kDefaultsSection = "Defaults";
constexpr std::size_t kValueBufferSize = 30;

constexpr double kShortestIntervalM100A = 0.49999;
constexpr double kShortestIntervalM200A = 0.04999;
constexpr double kLongestInterval = 24.00001;
constexpr unsigned kShortestTimeout = 3;
constexpr unsigned kLongestTimeout = 1000;
constexpr unsigned kTimeout = 5;
constexpr unsigned kGeneralNetworkTimeout = 10;
constexpr int kGeneralNetworkMode = 4;

// Reads keys of korvel32.ini and writes the default of every key that is
// missing, remembering whether any write failed.
class SettingsFile {
public:
    explicit SettingsFile(const std::string &path) : path_(path) {}

    // The key's text; when the key is missing or empty its default is written
    // and there is nothing to read.
    std::optional<std::string> read(const char *section, const char *key, std::string_view defaultText) {
        std::string text = readProfileString(path_, section, key, "", kValueBufferSize);
        if (!text.empty()) return text;
        writeDefault(section, key, defaultText);
        return std::nullopt;
    }

    int readInt(const char *key) const { return readProfileInt(path_, kDefaultsSection, key, 0); }

    void writeDefault(const char *section, const char *key, std::string_view text) {
        if (!writeProfileString(path_, section, key, text)) writeFailed_ = true;
    }

    bool writeFailed() const { return writeFailed_; }

private:
    const std::string &path_;
    bool writeFailed_ = false;
};

std::string fixedThreeDecimals(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3);
    return std::string(text, result.ptr);
}

// The leading decimal number of a text (the profile reader has trimmed it), 0
// when it has none. Independent of the process locale, as the file is.
double leadingDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Only the first letter counts; any letter other than T or F keeps the default.
void readFlag(SettingsFile &file, const char *key, bool &flag) {
    const auto text = file.read(kDefaultsSection, key, flag ? "True" : "False");
    if (!text) return;
    switch (text->front()) {
        case 'T':
        case 't': flag = true; break;
        case 'F':
        case 'f': flag = false; break;
        default: break;
    }
}

void readInterval(SettingsFile &file, const char *key, double shortest, double &interval) {
    const auto text = file.read(kDefaultsSection, key, fixedThreeDecimals(interval));
    if (!text) return;
    const double value = leadingDecimal(*text);
    if (value >= shortest && value <= kLongestInterval) interval = value;
}

// Read as the unsigned number the key holds: a negative one is far above the
// longest time-out.
void readTimeout(SettingsFile &file, unsigned defaultTimeout, unsigned &timeout) {
    const int value = file.readInt("CommTimeout");
    if (value == 0) {
        file.writeDefault(kDefaultsSection, "CommTimeout", std::to_string(defaultTimeout));
        timeout = defaultTimeout;
        return;
    }
    timeout = std::clamp(static_cast<unsigned>(value), kShortestTimeout, kLongestTimeout);
}

// The Trend Link output reads these keys itself; they only have to exist.
void ensureTrendLinkDefaults(SettingsFile &file) {
    using namespace trend_link_settings;
    file.read(kSection, kDirectoryKey, kDefaultDirectory);
    file.read(kSection, kProgramKey, kDefaultProgram);
    file.read(kSection, kTitleKey, resourceString(kDefaultTitleString));
}

} // namespace

void ApplicationSettings::applyTo(LoggerOptions &options) const {
    options.memoryWrapAround = memoryWrapAround;
    options.alarmCheckIntervalM100A = alarmCheckingIntervalM100A;
    options.alarmCheckIntervalM200A = alarmCheckingIntervalM200A;
}

ApplicationSettings readApplicationSettings(const std::string &settingsPath, int networkMode, UserInterface &ui) {
    ApplicationSettings settings;
    SettingsFile file(settingsPath);
    readFlag(file, "MemoryWrapAround", settings.memoryWrapAround);
    readFlag(file, "DevelopersToolbox", settings.developersToolbox);
    readInterval(file, "AlarmCheckingIntvl_M100A", kShortestIntervalM100A, settings.alarmCheckingIntervalM100A);
    readInterval(file, "AlarmCheckingIntvl_M200A", kShortestIntervalM200A, settings.alarmCheckingIntervalM200A);
    readFlag(file, "AutoScanDisable", settings.autoScanDisable);
    readTimeout(file, networkMode == kGeneralNetworkMode ? kGeneralNetworkTimeout : kTimeout, settings.commTimeout);
    ensureTrendLinkDefaults(file);
    if (file.writeFailed()) ui.showMessage(kCannotWriteSettings, MessageIcon::Exclamation, MessageButtons::Ok);
    return settings;
}

} // namespace korvel
