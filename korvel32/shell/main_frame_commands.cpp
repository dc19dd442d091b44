// The main window's commands. Those whose dialogs and windows are still to
// come say so in an information box.
#include "about_box.h"
#include "app/ccf_editing_host.h"
#include "app/command_ids.h"
#include "app/setup_title.h"
#include "communications_config_dialog.h"
#include "file_conversion_command.h"
#include "file_dialog.h"
#include "help_page.h"
#include "instrument_calibration_dialog.h"
#include "live_window_set.h"
#include "main_frame.h"
#include "platform/file_exists.h"
#include "toolbox_settings_dialog.h"
#include "trend_link_commands.h"

#include <QFileDialog>
#include <QStatusBar>
#include <QToolBar>

namespace korvel {

namespace {

constexpr const char *kOpenSetupCaption = "Open Setup";
constexpr const char *kSaveSetupAsCaption = "Save Setup As";
constexpr const char *kSetupFilter = "Setup Files (*.stp)";
constexpr const char *kSetupExtension = "stp";
constexpr const char *kNotAvailable = "This command is not available in this version.";

} // namespace

void CMainFrame::createCommandHandlers() {
    using namespace command;
    const auto toggle = [this](bool LoggerOptions::*flag) { return [this, flag] { toggleOption(flag); }; };
    handlers_ = {
        {kOpenSetup, [this] { openSetup(); }},
        {kSaveSetup, [this] { saveSetup(); }},
        {kSaveSetupAs, [this] { saveSetupAs(); }},
        {kCreateInstrument, [this] { createInstruments(); }},
        {kDeleteInstrument, [this] { deleteInstrument(); }},
        {kCommunicationsConfig, [this] { editCommunications(); }},
        {kExit, [this] { exitApplication(); }},
        {kToolbar, [this] { toggleToolbar(); }},
        {kStatusBar, [this] { toggleStatusBar(); }},
        {kStartAll, [this] { startAll(); }},
        {kStopAll, [this] { stopAll(); }},
        {kStartInstrument, [this] { startInstrument(); }},
        {kStopInstrument, [this] { stopInstrument(); }},
        {kClearTotalizer, toggle(&LoggerOptions::resetTotalizer)},
        {kSimulate, toggle(&LoggerOptions::simulateData)},
        {kStatusOnStart, toggle(&LoggerOptions::statusOnStart)},
        {kStatusOnAlarm, toggle(&LoggerOptions::statusOnAlarm)},
        {kLockout, [this] { toggleLockout(); }},
        {kCalibration, [this] { calibrateInstrument(); }},
        {kTrendLinkDirectory, [this] { editTrendLinkDirectory(trendLink_, ui_, this); }},
        {kShowTrendLink, [this] { showTrendLink(); }},
        {kBinaryToAscii, [this] { convertFiles(ConversionKind::BinaryToAscii); }},
        {kAsciiTimestamp, [this] { convertFiles(ConversionKind::AsciiTimestamps); }},
        {kBinaryToTrendLink, [this] { convertFiles(ConversionKind::BinaryToTrendLink); }},
        {kShowQuickPlot, [this] { liveWindows_->showQuickPlot(); }},
        {kQuickPlotSetup, [this] { liveWindows_->quickPlotSetup(); }},
        {kShowReadings, [this] { liveWindows_->toggleReadings(); }},
        {kShowLoggingStatus, [this] { liveWindows_->toggleLoggingStatus(); }},
        {kSpy, [this] { liveWindows_->spy(); }},
        {kToolbox, [this] { editToolboxSettings(); }},
        {kAbout, [this] { showAbout(); }},
        {kHelpContents, [this] { showHelpPage(this); }},
        {kHelpSearch, [this] { showHelpPage(this); }},
    };
}

void CMainFrame::runCommand(int id) {
    if (id >= command::kFirstRecentFile && id < command::kFirstRecentFile + command::kRecentFiles) {
        openRecentFile(id - command::kFirstRecentFile);
    } else if (const auto handler = handlers_.find(id); handler != handlers_.end()) {
        handler->second();
    } else {
        notAvailable();
    }
    updateCommands();
}

void CMainFrame::openSetup() {
    if (logging_->anyLogging()) return;
    const QString path = QFileDialog::getOpenFileName(this, QString::fromLatin1(kOpenSetupCaption), QString(),
                                                      QString::fromLatin1(kSetupFilter));
    if (!path.isEmpty()) openSetupFile(path.toStdString());
}

bool CMainFrame::openSetupFile(const std::string &path) {
    if (!document_.saveBeforeClose([this] { saveSetup(); })) return false;
    const bool opened = document_.open(path);
    if (opened) {
        setupOpened();
    } else {
        updateViews();
    }
    return opened;
}

// A recent file that has gone away leaves the list.
void CMainFrame::openRecentFile(int index) {
    const std::string path = recentFiles_.entries().at(static_cast<std::size_t>(index));
    if (!openSetupFile(path) && !fileExists(path)) {
        recentFiles_.remove(index);
        updateRecentFiles();
    }
}

void CMainFrame::saveSetup() {
    if (document_.pathName().empty()) {
        saveSetupAs();
    } else {
        saveSetupTo(document_.pathName());
    }
}

void CMainFrame::saveSetupAs() {
    const std::string proposed = proposedSetupFileName(document_.pathName());
    QFileDialog dialog(this, QString::fromLatin1(kSaveSetupAsCaption), QString::fromStdString(proposed),
                       QString::fromLatin1(kSetupFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromLatin1(kSetupExtension));
    if (dialog.exec() == QDialog::Accepted) saveSetupTo(dialog.selectedFiles().value(0).toStdString());
}

void CMainFrame::saveSetupTo(const std::string &path) {
    if (!document_.save(path)) return;
    recentFiles_.add(path);
    updateRecentFiles();
}

void CMainFrame::createInstruments() { iconCommands_->createInstruments(); }

void CMainFrame::deleteInstrument() { iconCommands_->deleteSelected(options_.configurationLockout); }

void CMainFrame::editCommunications() {
    if (options_.configurationLockout || logging_->anyLogging()) return;
    MainWindowCcfHost host(*iconCommands_, *bar_, link_, ui_);
    editCommunicationsConfiguration({link_, table_, document_, ui_, host, programDirectory_}, this);
    // A new model changes the selected instrument's channels in place.
    updateViews();
    updateCommands();
}

void CMainFrame::startInstrument() { logging_->commands().startInstrument(bar_->selectedSlot()); }

void CMainFrame::stopInstrument() { logging_->commands().stopInstrument(bar_->selectedSlot(), CommandSource::User); }

void CMainFrame::startAll() { logging_->commands().startAll(); }

void CMainFrame::stopAll() { logging_->commands().stopAll(CommandSource::User); }

void CMainFrame::startAllInstruments() {
    startAll();
    updateCommands();
}

void CMainFrame::toggleToolbar() { toolBar_->setHidden(!toolBar_->isHidden()); }

void CMainFrame::toggleStatusBar() { statusBar()->setHidden(!statusBar()->isHidden()); }

void CMainFrame::toggleOption(bool LoggerOptions::*flag) {
    options_.*flag = !(options_.*flag);
    document_.setModified(true);
}

// The lockout guards the configuration commands; it is not part of the setup.
void CMainFrame::toggleLockout() { options_.configurationLockout = !options_.configurationLockout; }

void CMainFrame::showAbout() { showAboutBox(this); }

void CMainFrame::calibrateInstrument() {
    if (logging_->anyLogging()) return;
    InstrumentCalibrationDialog dialog(calibrationPort_, ui_, regional_.decimalSymbol, this);
    dialog.exec();
}

void CMainFrame::convertFiles(ConversionKind kind) {
    const FileChooser chooser = [](QWidget *parent, const FileDialogTexts &texts, const std::string &proposed) {
        return chooseFile(texts, proposed, parent).value_or(std::string());
    };
    FileConversionCommand(*this, {regional_, ui_, &trendLink_}, chooser).run(kind);
}

void CMainFrame::editToolboxSettings() {
    ToolboxSettingsDialog dialog(table_, toolbox_, document_, ui_, this);
    dialog.exec();
}

void CMainFrame::exitApplication() { close(); }

// The chart of the selected instrument's data set; a Slave's is its Master's.
void CMainFrame::showTrendLink() {
    int owner = bar_->selectedSlot();
    if (owner != 0 && table_.slot(owner).inUse && table_.slot(owner).role == GroupRole::Slave)
        owner = table_.masterSlot();
    const bool known = owner != 0 && table_.slot(owner).inUse;
    korvel::showTrendLink(trendLink_, known ? &table_.slot(owner).setup->dataFile : nullptr, ui_, this);
}

void CMainFrame::notAvailable() { ui_.showMessage(kNotAvailable, MessageIcon::Information, MessageButtons::Ok); }

} // namespace korvel
