#include "shell/live_window_set.h"

#include "app/command_ids.h"
#include "shell/current_readings_window.h"
#include "shell/logging_status_window.h"
#include "shell/quick_plot_setup_dialog.h"
#include "shell/quick_plot_window.h"
#include "shell/spy_dialogs.h"

#include <QApplication>

namespace korvel {

LiveWindowSet::LiveWindowSet(LiveWindowsTarget target, CSetupDoc &document, QWidget &mainWindow)
        : target_(target), document_(document), mainWindow_(mainWindow), live_(std::move(target), *this) {
    const char decimalSymbol = target_.session.regional.decimalSymbol;
    plot_ = std::make_unique<QuickPlotWindow>(live_, mainWindow.font(), decimalSymbol);
    status_ = std::make_unique<LoggingStatusWindow>(live_.status(), mainWindow.font(), &mainWindow);
    readings_ = std::make_unique<CurrentReadingsWindow>(live_.readings(), &mainWindow);
    connect(plot_.get(), &QuickPlotWindow::setupRequested, this,
            [this] { emit commandRequested(command::kQuickPlotSetup); });
    connect(readings_.get(), &CurrentReadingsWindow::shownAgain, this,
            [this] { live_.notify(ChildWindow::CurrentReadings, current_readings::kRefill, 0, 0); });
    live_.notify(ChildWindow::CurrentReadings, current_readings::kRefill, 0, 0);
}

LiveWindowSet::~LiveWindowSet() = default;

void LiveWindowSet::showQuickPlot() { plot_->showOnTop(); }

// The dialog holds the main window only, so that a double click in the plot
// can ask for it again, which brings it to the top.
void LiveWindowSet::quickPlotSetup() {
    if (setupDialog_) {
        setupDialog_->raise();
        setupDialog_->activateWindow();
        return;
    }
    QuickPlotSetupModel model(live_.plot().settings(), target_.session.table, target_.session.regional.decimalSymbol);
    QuickPlotSetupDialog dialog(model, target_.ui, &mainWindow_);
    dialog.setWindowModality(Qt::WindowModal);
    setupDialog_ = &dialog;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    setupDialog_ = nullptr;
    if (!accepted) return;
    live_.setPlotSettings(model.settings());
    plot_->showOnTop();
    document_.setModified(true);
}

void LiveWindowSet::toggleReadings() { readings_->setVisible(!readings_->isVisible()); }

void LiveWindowSet::toggleLoggingStatus() { status_->setVisible(!status_->isVisible()); }

bool LiveWindowSet::readingsVisible() const { return readings_->isVisible(); }

bool LiveWindowSet::loggingStatusVisible() const { return status_->isVisible(); }

void LiveWindowSet::showLoggingStatus() {
    if (!status_->isVisible()) status_->show();
}

void LiveWindowSet::raiseLoggingStatusOnAlarm() {
    status_->show();
    status_->raise();
    status_->activateWindow();
    QApplication::beep();
}

void LiveWindowSet::spy() {
    SpySelectionModel selection(target_.session.table, live_.spyChannels());
    SpySelectionDialog chooser(selection, target_.ui, &mainWindow_);
    if (chooser.exec() != QDialog::Accepted) return;
    live_.setSpyChannels(selection.chosen());
    SpyWindow window(live_.openSpy(), &mainWindow_);
    spyWindow_ = &window;
    window.exec();
    spyWindow_ = nullptr;
    live_.closeSpy();
    if (window.selectionWanted()) emit commandRequested(command::kSpy);
}

// The window ends once its modal loop has unwound; the Spy's closing follows there.
bool LiveWindowSet::cancelSpy(bool busy) {
    if (spyWindow_ == nullptr) return false;
    if (!busy) spyWindow_->reject();
    return true;
}

void LiveWindowSet::hideAll() {
    plot_->hide();
    status_->hide();
    readings_->hide();
}

bool LiveWindowSet::plotShown() const { return plot_ && plot_->shown(); }

bool LiveWindowSet::readingsShown() const { return readings_ && readings_->shown(); }

void LiveWindowSet::plotChanged() {
    if (plot_) plot_->requestRepaint();
}

void LiveWindowSet::statusChanged(int slot) {
    if (status_) status_->statusChanged(slot);
}

void LiveWindowSet::readingsChanged() {
    if (readings_) readings_->showReadings();
}

void LiveWindowSet::spyChanged() {
    if (spyWindow_ != nullptr) spyWindow_->showReadings();
}

} // namespace korvel
