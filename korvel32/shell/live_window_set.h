// The main window's live windows: Quick Plot, the logging status and current
// readings windows, created hidden with the main window, and the Spy while it
// is open. The engine's LiveWindows decides what they show; this set shows
// it and carries out the windows' menu commands.
#pragma once

#include "app/live_windows.h"
#include "setup/setup_doc.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QFont;
class QWidget;

namespace korvel {

class CurrentReadingsWindow;
class LoggingStatusWindow;
class QuickPlotSetupDialog;
class QuickPlotWindow;
class SpyWindow;

class LiveWindowSet : public QObject, private LiveWindowsView {
    Q_OBJECT
public:
    LiveWindowSet(LiveWindowsTarget target, CSetupDoc &document, QWidget &mainWindow);
    ~LiveWindowSet() override;

    LiveWindows &engine() { return live_; }
    QuickPlotWindow &quickPlot() { return *plot_; }
    LoggingStatusWindow &loggingStatus() { return *status_; }
    CurrentReadingsWindow &readings() { return *readings_; }
    // The Spy window while it is open, else nullptr.
    SpyWindow *spyWindow() { return spyWindow_; }

    // "Show Quick &Plot" and "Quick Plot &Setup...".
    void showQuickPlot();
    void quickPlotSetup();
    // "Show Current &Readings" and "Show &Logging Status" show a hidden
    // window and hide a shown one.
    void toggleReadings();
    void toggleLoggingStatus();
    bool readingsVisible() const;
    bool loggingStatusVisible() const;
    // Start shows a hidden logging status window; a new alarm brings it to
    // the front where it stands, with the exclamation beep.
    void showLoggingStatus();
    void raiseLoggingStatusOnAlarm();
    // "&Spy...": the channel selection, then the Spy window until it closes.
    void spy();
    // The close sequence ends an open Spy window; true while one is open. It
    // is left alone while an exchange is under way (busy).
    bool cancelSpy(bool busy);
    // The main window closes.
    void hideAll();

signals:
    // A window asks for a command of the main window (its double click).
    void commandRequested(int id);

private:
    bool plotShown() const override;
    bool readingsShown() const override;
    void plotChanged() override;
    void statusChanged(int slot) override;
    void readingsChanged() override;
    void spyChanged() override;

    LiveWindowsTarget target_;
    CSetupDoc &document_;
    QWidget &mainWindow_;
    // The windows come once the engine exists; until then its changes have
    // nothing to show.
    std::unique_ptr<QuickPlotWindow> plot_;
    std::unique_ptr<LoggingStatusWindow> status_;
    std::unique_ptr<CurrentReadingsWindow> readings_;
    QPointer<QuickPlotSetupDialog> setupDialog_;
    SpyWindow *spyWindow_ = nullptr;
    LiveWindows live_;
};

} // namespace korvel
