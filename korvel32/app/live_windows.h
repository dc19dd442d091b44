// The engine side of the live windows: Quick Plot, the logging status and
// current readings windows and the Spy. Their models follow the child-window
// notifications (1035..1041) and the logging tick's periodic turn; a front
// end shows them through a LiveWindowsView, and without one the models still
// follow, so that a window opened later shows the state of now.
#pragma once

#include "app/current_readings_model.h"
#include "app/logging_status_model.h"
#include "app/plot_sample_clock.h"
#include "app/quick_plot_ring.h"
#include "app/spy_window_model.h"
#include "logging/session_target.h"
#include "platform/clock.h"
#include "platform/window_notifications.h"

#include <functional>
#include <memory>

namespace korvel {

// What the screen side does with the models' changes.
class LiveWindowsView {
public:
    virtual ~LiveWindowsView() = default;

    // Visible and not minimised: a window that is not skips its work.
    virtual bool plotShown() const { return false; }
    virtual bool readingsShown() const { return false; }

    virtual void plotChanged() {}
    // The slot's row changed, or (slot 0) the rows were laid out again.
    virtual void statusChanged(int /*slot*/) {}
    virtual void readingsChanged() {}
    // New readings, or the Spy ended.
    virtual void spyChanged() {}
};

struct LiveWindowsTarget {
    SessionTarget session;
    PlotSettings &plot; // the setup's, which Quick Plot uses
    LoggingEngine &engine;
    UserInterface &ui;
    Clock &clock;
    std::function<int()> selectedSlot; // the instrument bar's, 0 for none
};

class LiveWindows {
public:
    LiveWindows(LiveWindowsTarget target, LiveWindowsView &view);

    // A child-window notification (window_notifications.h).
    void notify(ChildWindow window, int message, int wParam, long lParam);
    // The logging tick's turn, with the tick's clock reading: the Spy's
    // refresh, then Quick Plot's sample or keep-alive.
    void periodicTurn(CalendarTime now);
    // The system clock was set: Quick Plot samples again at once.
    void timeChanged();

    const QuickPlotRing &plot() const { return ring_; }
    // Quick Plot Setup's OK: the plot starts over with the new settings.
    void setPlotSettings(const PlotSettings &settings);
    // A paint of the plot found a valid sample.
    void plotDrawn() { sampleClock_.drawn(); }
    const PlotSampleClock &plotClock() const { return sampleClock_; }

    const LoggingStatusModel &status() const { return status_; }
    const CurrentReadingsModel &readings() const { return readings_; }

    const SpyChannelList &spyChannels() const { return spyChannels_; }
    void setSpyChannels(const SpyChannelList &channels) { spyChannels_ = channels; }
    // The Spy window opens on the current list and is refreshed by the
    // periodic turn until it closes.
    SpyWindowModel &openSpy();
    SpyWindowModel *spy() { return spy_.get(); }
    void closeSpy();

private:
    void restartPlot();

    LiveWindowsTarget target_;
    LiveWindowsView &view_;
    QuickPlotRing ring_;
    PlotSampleClock sampleClock_;
    LoggingStatusModel status_;
    CurrentReadingsModel readings_;
    SpyChannelList spyChannels_{};
    std::unique_ptr<SpyWindowModel> spy_;
};

} // namespace korvel
