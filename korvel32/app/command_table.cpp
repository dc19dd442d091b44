#include "app/command_table.h"

#include "app/command_ids.h"
#include "platform/string_table.h"

#include <algorithm>
#include <utility>

namespace korvel {

namespace {

using namespace command;

constexpr std::pair<int, const char *> kMenuTexts[] = {
    {kOpenSetup, "&Open Setup... "},
    {kSaveSetup, "&Save Setup"},
    {kSaveSetupAs, "Save Setup &As..."},
    {kCreateInstrument, "&Create Instrument Icon..."},
    {kDeleteInstrument, "&Delete Instrument Icon"},
    {kGroupInstruments, "&Group Instruments..."},
    {kCommunicationsConfig, "Co&mmunications Config..."},
    {kInstrumentDescription, "Instrument D&escription..."},
    {kInstrumentConfiguration, "&Instrument Configuration..."},
    {kLoadMxbFile, "&Load Mx+B File..."},
    {kCopyChannels, "Copy Cha&nnels..."},
    {kSaveConfigurationText, "Save Inst. Config. &Text..."},
    {kExit, "E&xit Application"},
    {kToolbar, "&Toolbar"},
    {kStatusBar, "&Status Bar"},
    {kStartAll, "&Start All Instruments"},
    {kStopAll, "St&op All Instruments"},
    {kStartInstrument, "St&art Instrument"},
    {kStopInstrument, "S&top Instrument"},
    {kClearTotalizer, "&Clear Totalizer on Start"},
    {kSimulate, "Si&mulate Logging on Start"},
    {kQuickPlotSetup, "Quick Plot &Setup..."},
    {kShowQuickPlot, "Show Quick &Plot"},
    {kTrendLinkDirectory, "Trend Link &Directory..."},
    {kShowTrendLink, "Show &Trend Link"},
    {kSpy, "&Spy..."},
    {kBinaryToAscii, "&Binary to ASCII Conversion..."},
    {kAsciiTimestamp, "&ASCII Timestamp Conversion..."},
    {kBinaryToTrendLink, "Binary to &Trend Link Conversion..."},
    {kCalibration, "Instrument &Calibration..."},
    {kShowReadings, "Show Current &Readings"},
    {kShowLoggingStatus, "Show &Logging Status"},
    {kStatusOnStart, "Show Logging Status on &Start"},
    {kStatusOnAlarm, "Show Logging Status on Alar&m"},
    {kLockout, "&Configuration Lockout"},
    {kToolbox, "&Dereruded'i Ruzozov..."},
    {kHelpContents, "&Contents"},
    {kHelpSearch, "&Search"},
    {kAbout, "&About Korvel Logger..."},
};

} // namespace

const std::vector<MenuPopup> &menuPopups() {
    static const std::vector<MenuPopup> popups = {
        {"&Setup",
         "Open, save and arrange the setup and its instruments",
         {kOpenSetup, kSaveSetup, kSaveSetupAs, kSeparator, kCreateInstrument, kDeleteInstrument, kGroupInstruments,
          kCommunicationsConfig, kSeparator, kInstrumentDescription, kInstrumentConfiguration, kLoadMxbFile,
          kCopyChannels, kSaveConfigurationText, kSeparator, kFirstRecentFile, kSeparator, kExit}},
        {"&View", "Show or hide the toolbar and the status bar", {kToolbar, kStatusBar}},
        {"&Logging",
         "Start and stop logging",
         {kStartAll, kStopAll, kSeparator, kStartInstrument, kStopInstrument, kSeparator, kClearTotalizer, kSimulate}},
        {"&Plot",
         "Quick Plot and Trend Link",
         {kQuickPlotSetup, kShowQuickPlot, kSeparator, kTrendLinkDirectory, kShowTrendLink}},
        {"&Utilities",
         "Spy, data file conversions and calibration",
         {kSpy, kSeparator, kBinaryToAscii, kAsciiTimestamp, kBinaryToTrendLink, kSeparator, kCalibration}},
        {"&Options",
         "Status windows and options",
         {kShowReadings, kShowLoggingStatus, kSeparator, kStatusOnStart, kStatusOnAlarm, kSeparator, kLockout,
          kSeparator, kToolbox}},
        {"&Help", "Help and version information", {kHelpContents, kHelpSearch, kSeparator, kAbout}},
    };
    return popups;
}

const std::vector<int> &toolbarButtons() {
    static const std::vector<int> buttons = {
        kOpenSetup, kSaveSetup,        kSeparator,        kSeparator,      kCommunicationsConfig,
        kSeparator, kCreateInstrument, kDeleteInstrument, kSeparator,      kInstrumentConfiguration,
        kSeparator, kSeparator,        kStartInstrument,  kStopInstrument, kSeparator,
        kStartAll,  kStopAll,          kSeparator,        kSeparator,      kShowTrendLink};
    return buttons;
}

std::string commandMenuText(int id) {
    const auto *entry =
        std::find_if(std::begin(kMenuTexts), std::end(kMenuTexts), [id](const auto &text) { return text.first == id; });
    return entry == std::end(kMenuTexts) ? std::string() : entry->second;
}

std::string commandPrompt(int id) {
    const std::string text = resourceString(id);
    return text.substr(0, text.find('\n'));
}

std::string commandToolTip(int id) {
    const std::string text = resourceString(id);
    const std::size_t newline = text.find('\n');
    return newline == std::string::npos ? std::string() : text.substr(newline + 1);
}

} // namespace korvel
