#include "app/live_windows.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr unsigned kShortestInterval = 1;
constexpr unsigned kLongestInterval = 3600;

// A setup file may hold any interval; the plot keeps to the ones its dialog takes.
unsigned samplingInterval(const PlotSettings &plot) {
    return std::clamp<unsigned>(plot.samplingInterval, kShortestInterval, kLongestInterval);
}

} // namespace

LiveWindows::LiveWindows(LiveWindowsTarget target, LiveWindowsView &view)
        : target_(std::move(target)), view_(view),
          ring_(target_.plot, target_.session.table, target_.engine, target_.session.regional.decimalSymbol),
          status_(target_.session.table, target_.session.regional.listSeparator),
          readings_(target_.session.table, target_.engine, target_.session.regional.decimalSymbol) {
    restartPlot();
}

void LiveWindows::notify(ChildWindow window, int message, int wParam, long lParam) {
    switch (window) {
        case ChildWindow::LoggingStatus: {
            const auto change = status_.notify(message, wParam, static_cast<std::uint32_t>(lParam));
            if (change != LoggingStatusModel::Change::None)
                view_.statusChanged(change == LoggingStatusModel::Change::Row ? wParam : 0);
            return;
        }
        case ChildWindow::CurrentReadings:
            if (message == current_readings::kRefill) {
                readings_.refill(target_.selectedSlot());
                view_.readingsChanged();
            } else if (message == current_readings::kUpdateReadings && view_.readingsShown() && readings_.update()) {
                view_.readingsChanged();
            }
            return;
        case ChildWindow::QuickPlot:
            switch (message) {
                case quick_plot::kSettingsChanged: restartPlot(); return;
                case quick_plot::kConfigurationChanged:
                    ring_.configurationChanged(wParam);
                    readings_.configurationChanged(wParam);
                    break;
                case quick_plot::kInstrumentRemoved: ring_.instrumentRemoved(static_cast<unsigned>(wParam)); break;
                case quick_plot::kBcnChanged:
                    ring_.bcnChanged(static_cast<unsigned>(wParam), static_cast<unsigned>(lParam));
                    break;
                default: return;
            }
            view_.plotChanged();
            return;
    }
}

void LiveWindows::periodicTurn(CalendarTime now) {
    if (spy_ && spy_->refresh(now)) view_.spyChanged();
    switch (sampleClock_.turn(now.seconds)) {
        case PlotSampleClock::Turn::None: return;
        case PlotSampleClock::Turn::KeepAlive: sampleClock_.keepAlive(now.seconds); return;
        case PlotSampleClock::Turn::TakeSample: {
            const bool changed = ring_.takeSample();
            sampleClock_.sampled(samplingInterval(target_.plot));
            if (changed && view_.plotShown()) view_.plotChanged();
            return;
        }
    }
}

void LiveWindows::timeChanged() { sampleClock_.timeChanged(target_.clock.now().seconds); }

void LiveWindows::setPlotSettings(const PlotSettings &settings) {
    target_.plot = settings;
    restartPlot();
}

void LiveWindows::restartPlot() {
    ring_.restart();
    sampleClock_.restarted(target_.clock.now().seconds, samplingInterval(target_.plot));
    view_.plotChanged();
}

SpyWindowModel &LiveWindows::openSpy() {
    const SessionTarget &session = target_.session;
    spy_ = std::make_unique<SpyWindowModel>(
        SpyTarget{session.link, session.table, target_.engine, target_.ui, session.options.simulateData,
                  downloadSettingsOf(session.options, session.autoScanDisable), session.regional.decimalSymbol},
        spyChannels_);
    return *spy_;
}

void LiveWindows::closeSpy() {
    if (!spy_) return;
    spy_->close();
    spy_.reset();
}

} // namespace korvel
