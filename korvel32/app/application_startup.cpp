#include "app/application_startup.h"

#include "app/program_directory.h"
#include "app/toolbox_add_on.h"
#include "link/instrument_link.h"
#include "platform/file_exists.h"
#include "platform/string_table.h"
#include "setup/bcn_lookup.h"
#include "setup/ccf_network_mode.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace korvel {
namespace {
constexpr int kFirstSlot = 1;

// A setup named on the command line is opened by its full path when it exists.
std::string fullPathIfExists(const std::string &file) {
    std::error_code error;
    if (!regularFileExists(file)) return file;
    const std::filesystem::path full = std::filesystem::absolute(file, error);
    return error ? file : full.lexically_normal().string();
}

} // namespace

StartupPaths StartupPaths::ofThisProcess() { return {korvel::programDirectory(), userRegionalSettingsPath()}; }

ApplicationStartup::ApplicationStartup(StartupTarget target, StartupWindowSteps &windows, UserInterface &ui,
                                       CommandLine commandLine, StartupPaths paths)
        : target_(target), windows_(windows), ui_(ui), commandLine_(std::move(commandLine)), paths_(std::move(paths)) {}

bool ApplicationStartup::start() {
    if (!windows_.registerWindowClasses()) return fail(kWindowClassFailed);
    if (windows_.anotherCopyBroughtForward()) return false;
    windows_.loadRecentFileList();
    if (!windows_.startDdeServer()) return fail(resourceString(message::kUnableToInitializeDde));
    if (!windows_.loadResourceLibrary(paths_.programDirectory)) return fail(kResourceLibraryFailed);
    // The texts may come from the resource library, so only now.
    target_.setupTemplate.completeFromStringTable();

    if (target_.link.libInit(true) != KVX_OK) return fail(kLibraryInUse);
    const int networkMode = readOrCreateNetworkMode(target_.link, paths_.programDirectory);
    if (networkMode < 0) return fail(resourceString(message::kCcfUnreadable));
    networkModeNotGeneral_ = networkMode != KVX_NET_GENERAL;

    if (!commandLine_.noSplash) windows_.showSplash();
    target_.regional = readRegionalFormats(paths_.regionalSettingsPath);
    target_.settings = readApplicationSettings(paths_.programDirectory + kSettingsFileName, networkMode, ui_);
    target_.trendLink.setPaths({paths_.programDirectory, paths_.programDirectory + kSettingsFileName});
    target_.settings.applyTo(target_.options);
    target_.link.timeoutSet(static_cast<std::int32_t>(target_.settings.commTimeout));
    // A toolbox that cannot be loaded is off for this run; the setting stays.
    toolboxEnabled_ = target_.settings.developersToolbox && loadToolbox();

    if (!(commandLine_.setupFile.empty() ? createFirstSetup() : openFirstSetup())) return false;
    windows_.acceptDroppedFiles();
    windows_.adjustMenus(commandLine_.calibration, toolboxEnabled_);
    if (toolboxEnabled_) {
        target_.toolbox.setupFile(target_.document.pathName());
        target_.toolbox.openCommandChannel();
    }
    if (commandLine_.startAll) windows_.startAllInstruments();
    return true;
}

void ApplicationStartup::shutDown() {
    windows_.unloadResourceLibrary();
    windows_.stopDdeServer();
    if (toolboxEnabled_) {
        target_.toolbox.unload();
        toolboxEnabled_ = false;
    }
    target_.link.libExit();
    windows_.shutDownTrendLink();
    target_.trendLink.unload();
    windows_.finishFrameworkExit();
}

bool ApplicationStartup::fail(const std::string &message) {
    ui_.showMessage(message, MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

bool ApplicationStartup::loadToolbox() {
    if (!target_.toolbox.load(paths_.programDirectory, ui_)) return false;
    if (!target_.toolbox.announceInstruments()) showError(ui_, message::kToolboxQueueShortage);
    return true;
}

// A queue the toolbox cannot have leaves the instrument without one.
void ApplicationStartup::announceToToolbox(int slot) {
    if (toolboxEnabled_ && !target_.toolbox.announceInstrument(slot)) showError(ui_, message::kToolboxQueueShortage);
}

// A setup that cannot be opened leaves an empty one in its place.
bool ApplicationStartup::openFirstSetup() {
    if (!windows_.createSetupWindow()) return fail(kWindowCreationFailed);
    target_.document.clear();
    if (!target_.document.open(fullPathIfExists(commandLine_.setupFile))) target_.document.clear();
    return true;
}

// An empty setup holding the lowest BCN of the communications configuration,
// so that a first run on a configured network shows an instrument at once.
bool ApplicationStartup::createFirstSetup() {
    if (!windows_.createSetupWindow()) return fail(kWindowCreationFailed);
    target_.document.clear();
    const std::int32_t bcn = target_.link.ccfLowBcn();
    if (bcn <= 0) return true;
    const BcnLookup lookup = lookUpBcn(target_.link, static_cast<unsigned>(bcn));
    if (!lookup.present()) return true;
    if (!target_.instruments.add(kFirstSlot, static_cast<unsigned>(bcn), lookup.model)) {
        showError(ui_, message::kLowOnMemory);
        return true;
    }
    windows_.firstInstrumentAdded(kFirstSlot);
    announceToToolbox(kFirstSlot);
    return true;
}

} // namespace korvel
