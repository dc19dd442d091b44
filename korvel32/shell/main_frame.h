// The main window: menu, toolbar, instrument bar, the two panes of the setup
// view and the status bar. It carries out the commands, follows the
// instrument table, owns the logging wiring and closes only once logging has
// stopped and the setup is saved or given up.
#pragma once

#include "app/command_rules.h"
#include "app/instrument_icon_commands.h"
#include "close_sequence.h"
#include "instrument_bar.h"
#include "platform/clock.h"
#include "platform/regional_formats.h"
#include "recent_file_list.h"
#include "setup/instrument_calibration.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"
#include "setup/setup_doc.h"
#include "shell_icons.h"
#include "shell_logging.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QAction;
class QMenu;
class QSessionManager;
class QSplitter;
class QToolBar;

namespace korvel {

class CConfigView;

// What the main window works on: the setup and settings of the logging
// session, the options its commands switch, and the recent files.
struct MainFrameTarget {
    SessionTarget session;
    LoggerOptions &options;
    RecentFileList &recentFiles;
};

class CMainFrame : public QMainWindow, public InstrumentTableObserver {
    Q_OBJECT
public:
    CMainFrame(MainFrameTarget target, UserInterface &ui, Clock &clock, QWidget *parent = nullptr);
    ~CMainFrame() override;

    // The menu's and toolbar's action of a command; nullptr when the menu no
    // longer holds it.
    QAction *action(int id) const;
    ShellLogging &logging() { return *logging_; }
    InstrumentBar &instrumentBar() { return *bar_; }
    InstrumentIcon iconOf(int slot) const;
    QSplitter &splitter() { return *splitter_; }

    // Start-up's menu adjustment: the calibration command only with /C, the
    // toolbox command only when the toolbox is enabled.
    void adjustMenus(bool calibrationCommand, bool toolboxEnabled);
    void selectInstrument(int slot);
    void startAllInstruments();
    // Opens a setup after the save question; false when it did not open.
    bool openSetupFile(const std::string &path);

    // The session manager asks whether the session may end.
    void commitData(QSessionManager &manager, bool surviveLogOff);

    // The setup file's part of the window: bars and splitter, and the place.
    void refreshWindowState(LoggerOptions &options) const;
    void applyWindowState(const LoggerOptions &options);
    void moveToRect(const WindowRect &rect);
    // A setup was opened: the recent files and the views follow.
    void setupOpened();
    // The setup's name, with the window's modified marker while it has
    // unsaved changes.
    void updateTitle();

    // The enable and check state of every command, refreshed after anything
    // that may change it.
    CommandState commandState() const;
    void updateCommands();

    void instrumentAdded(int slot, bool refreshIcon) override;
    void instrumentDeleted(int slot, unsigned bcn) override;
    void bcnChanged(int slot, unsigned oldBcn) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void createClientArea();
    void placeInitially();
    void placeFrame(const QRect &outer);
    void connectLogging();
    QAction *recentFileAction(int index) const;
    void updateRecentFiles();
    void updateViews();
    void storeWindowRect(bool moved);

    // Commands (main_frame_commands.cpp).
    void createCommandHandlers();
    void runCommand(int id);
    void openSetup();
    void saveSetup();
    void saveSetupAs();
    void saveSetupTo(const std::string &path);
    void openRecentFile(int index);
    void createInstruments();
    void deleteInstrument();
    void editCommunications();
    void startInstrument();
    void stopInstrument();
    void startAll();
    void stopAll();
    void toggleToolbar();
    void toggleStatusBar();
    void toggleOption(bool LoggerOptions::*flag);
    void toggleLockout();
    void showAbout();
    void calibrateInstrument();
    void exitApplication();
    void notAvailable();

    InstrumentTable &table_;
    LoggerOptions &options_;
    CSetupDoc &document_;
    const RegionalFormats &regional_;
    InstrumentLink &link_;
    ToolboxLink &toolbox_;
    std::string programDirectory_;
    RecentFileList &recentFiles_;
    UserInterface &ui_;
    CalibrationPortSettings calibrationPort_; // kept while the program runs
    std::unique_ptr<ShellLogging> logging_;
    std::map<int, std::function<void()>> handlers_;
    std::map<int, QAction *> actions_;
    std::map<int, QMenu *> popupOf_; // the popup that holds each command
    QToolBar *toolBar_ = nullptr;
    InstrumentBar *bar_ = nullptr;
    QSplitter *splitter_ = nullptr;
    CConfigView *upperView_ = nullptr;
    CConfigView *lowerView_ = nullptr;
    std::unique_ptr<InstrumentIconCommands> iconCommands_;
    std::unique_ptr<CloseSequence> closeSequence_;
};

} // namespace korvel
