#include "main_frame.h"

#include "app/ccf_editing_host.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/setup_title.h"
#include "config_view.h"
#include "config_view_metrics.h"
#include "configuration_commands.h"
#include "create_instrument_dialog.h"
#include "live_window_set.h"
#include "main_window_input.h"
#include "qt_user_interface.h"
#include "status_prompts.h"
#include "time_change_watch.h"
#include "trend_link_commands.h"
#include "window_placement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

// The main window is 95 average characters wide and the first pane of the
// setup view 12.5 lines tall.
constexpr int kWidthInCharacters = 95;
constexpr double kHeightOfScreen = 0.9;
constexpr double kUpperPaneLines = 12.5;

constexpr const char *kIndicators[] = {"CAP", "NUM", "SCRL"};

QString qText(const std::string &text) { return QString::fromStdString(text); }

} // namespace

CMainFrame::CMainFrame(MainFrameTarget target, UserInterface &ui, Clock &clock, QWidget *parent)
        : QMainWindow(parent), table_(target.session.table), options_(target.options),
          document_(target.session.document), regional_(target.session.regional), link_(target.session.link),
          toolbox_(target.toolbox), toolboxNews_(target.session.toolbox),
          programDirectory_(target.session.programDirectory), trendLink_(target.session.trendLink),
          recentFiles_(target.recentFiles), ui_(ui) {
    setObjectName(QStringLiteral("KorLoggerMainWindow"));
    logging_ = std::make_unique<ShellLogging>(
        target.session,
        ShellLoggingWindow{[this] { return bar_->selectedSlot(); },
                           [this] { return !modalDialogOpen() && mainWindowInputEnabled(*this); }},
        ui_, clock, this);
    connectTrendLinkToWindows(trendLink_, this);
    createClientArea();
    placeInitially();
    createLiveWindows(target, clock);
    createCommandHandlers();
    createActions();
    createMenus();
    createToolBars();
    createStatusBar();
    iconCommands_ = std::make_unique<InstrumentIconCommands>(
        table_, document_, link_, toolbox_, ui_, *bar_, [this](int slot) { return logging_->runs().logging(slot); },
        [this](const std::vector<AvailableInstrument> &available, int limit) {
            return chooseInstrumentsInDialog(available, limit, this);
        },
        programDirectory_);
    closeSequence_ = std::make_unique<CloseSequence>(
        *this, *logging_, document_, ui_, [this] { saveSetup(); },
        [this] { return liveWindows_->cancelSpy(logging_->busy()); });
    createConfigurationCommands();
    connectLogging();
    table_.addObserver(*this);
    for (int slot = 1; slot <= kInstrumentSlots; ++slot) {
        if (table_.slot(slot).inUse) bar_->insertInstrument(slot, false);
    }
    updateTitle();
    updateRecentFiles();
    updateCommands();
}

CMainFrame::~CMainFrame() {
    table_.removeObserver(*this);
    logging_->setLiveWindows(nullptr);
}

QAction *CMainFrame::action(int id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

InstrumentIcon CMainFrame::iconOf(int slot) const {
    if (!logging_->runs().logging(slot)) return InstrumentIcon::Idle;
    return options_.simulateData ? InstrumentIcon::LoggingSimulated : InstrumentIcon::Logging;
}

void CMainFrame::createClientArea() {
    splitter_ = new QSplitter(Qt::Vertical, this);
    upperView_ = new CConfigView(CConfigView::Pane::Upper, table_, splitter_);
    lowerView_ = new CConfigView(CConfigView::Pane::Lower, table_, splitter_);
    splitter_->addWidget(upperView_);
    splitter_->addWidget(lowerView_);
    splitter_->setChildrenCollapsible(true);
    // The upper pane keeps its height; a larger window gives more channel lines.
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    setCentralWidget(splitter_);
    bar_ = new InstrumentBar(
        table_, [this](int slot) { return iconOf(slot); }, this);
    for (CConfigView *view : {upperView_, lowerView_}) {
        connect(view, &CConfigView::tabToInstrumentBar, bar_, &InstrumentBar::focusSelectedButton);
        connect(view, &CConfigView::configurationRequested, this, [this](CConfigView::Pane pane, int channel) {
            configurationRequested(pane == CConfigView::Pane::Lower, channel);
        });
    }
}

// Wide enough for the setup view's lines, nearly as high as the screen, at
// its top-left corner; a setup opened later may move it.
void CMainFrame::placeInitially() {
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    const CharacterCell cell = characterCell(font());
    const int width = std::min(cell.columns(kWidthInCharacters), screen.width());
    const int height = static_cast<int>(kHeightOfScreen * screen.height());
    placeFrame(*this, QRect(screen.left(), screen.top(), width, height));
    const int upper = static_cast<int>(std::lround(kUpperPaneLines * cell.height));
    splitter_->setSizes({upper, std::max(1, height - upper)});
}

// Quick Plot, the logging status and the current readings windows, hidden;
// the logging tick feeds them from now on.
void CMainFrame::createLiveWindows(const MainFrameTarget &target, Clock &clock) {
    liveWindows_ =
        std::make_unique<LiveWindowSet>(LiveWindowsTarget{target.session, target.plot, logging_->engine(), ui_, clock,
                                                          [this] { return bar_->selectedSlot(); }},
                                        document_, *this);
    logging_->setLiveWindows(&liveWindows_->engine());
    connect(
        liveWindows_.get(), &LiveWindowSet::commandRequested, this,
        [this](int id) {
            if (commandEnabled(id, commandState())) runCommand(id);
        },
        Qt::QueuedConnection);
}

void CMainFrame::createActions() {
    const auto addAction = [this](int id, const QString &text) {
        auto *action = new QAction(text, this);
        action->setStatusTip(qText(commandPrompt(id)));
        action->setCheckable(commandChecked(id, CommandState{}).has_value());
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        actions_[id] = action;
    };
    for (const MenuPopup &popup : menuPopups()) {
        for (const int id : popup.items) {
            if (id != kSeparator && id != command::kFirstRecentFile) addAction(id, qText(commandMenuText(id)));
        }
    }
    for (int index = 0; index < command::kRecentFiles; ++index) {
        addAction(command::kFirstRecentFile + index, QString());
        actions_[command::kFirstRecentFile + index]->setStatusTip(QStringLiteral("Open this setup"));
    }
    for (const int id : toolbarButtons()) {
        if (id == kSeparator) continue;
        actions_[id]->setIcon(commandIcon(id));
        actions_[id]->setToolTip(qText(commandToolTip(id)));
    }
}

void CMainFrame::createMenus() {
    for (const MenuPopup &popup : menuPopups()) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(popup.title));
        menu->menuAction()->setStatusTip(QString::fromUtf8(popup.prompt));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommands);
        for (const int id : popup.items) {
            if (id == kSeparator) {
                menu->addSeparator();
            } else if (id == command::kFirstRecentFile) {
                for (int index = 0; index < command::kRecentFiles; ++index) menu->addAction(recentFileAction(index));
            } else {
                menu->addAction(actions_.at(id));
                popupOf_[id] = menu;
            }
        }
    }
}

void CMainFrame::createToolBars() {
    toolBar_ = addToolBar(QStringLiteral("Toolbar"));
    toolBar_->setObjectName(QStringLiteral("Toolbar"));
    toolBar_->setMovable(false);
    for (const int id : toolbarButtons()) {
        if (id == kSeparator) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(actions_.at(id));
        }
    }
    addToolBarBreak();
    QToolBar *instruments = addToolBar(QStringLiteral("Instruments"));
    instruments->setObjectName(QStringLiteral("Instruments"));
    instruments->setMovable(false);
    instruments->addWidget(bar_);
    connect(bar_, &InstrumentBar::instrumentSelected, this, [this](int) {
        updateViews();
        ui_.notify(ChildWindow::CurrentReadings, current_readings::kRefill, 0, 0);
        updateCommands();
    });
}

// The message pane shows the hovered command's prompt, greyed out or not,
// else "Ready"; the indicators stand greyed as the keyboard's lock states
// cannot be read here.
void CMainFrame::createStatusBar() {
    QStatusBar *bar = statusBar();
    for (const char *indicator : kIndicators) {
        auto *label = new QLabel(QString::fromLatin1(indicator), bar);
        label->setEnabled(false);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(label);
    }
    auto *prompts = new StatusPrompts(*bar);
    for (const QAction *popup : menuBar()->actions()) {
        if (QMenu *menu = popup->menu()) prompts->watchMenu(*menu);
    }
}

void CMainFrame::connectLogging() {
    connect(logging_.get(), &ShellLogging::iconChanged, this, [this](int slot) {
        bar_->redrawIcon(slot);
        updateCommands();
    });
    connect(logging_.get(), &ShellLogging::selectedRunBegan, this, [this](int slot) {
        if (slot != bar_->selectedSlot()) return;
        updateViews();
        ui_.notify(ChildWindow::CurrentReadings, current_readings::kRefill, 0, 0);
    });
    connect(logging_.get(), &ShellLogging::loggingStatusRequested, liveWindows_.get(),
            &LiveWindowSet::showLoggingStatus);
    connect(logging_.get(), &ShellLogging::alarmRaised, liveWindows_.get(), &LiveWindowSet::raiseLoggingStatusOnAlarm);
    connect(logging_.get(), &ShellLogging::instrumentConfigurationChanged, this, &CMainFrame::updateViews);
    connect(logging_.get(), &ShellLogging::remoteSetupOpened, this, &CMainFrame::setupOpened);
    // The library re-reads the PC clock for the instruments' time.
    // Quick Plot samples again from the new time.
    connect(new TimeChangeWatch(this), &TimeChangeWatch::timeChanged, this, [this] {
        liveWindows_->engine().timeChanged();
        link_.pcTimeChange();
    });
}

QAction *CMainFrame::recentFileAction(int index) const { return actions_.at(command::kFirstRecentFile + index); }

void CMainFrame::adjustMenus(bool calibrationCommand, bool toolboxEnabled) {
    const auto removeCommand = [this](int id) {
        QMenu *menu = popupOf_.at(id);
        menu->removeAction(actions_.at(id));
        const QList<QAction *> items = menu->actions();
        if (!items.isEmpty() && items.back()->isSeparator()) menu->removeAction(items.back());
        actions_.erase(id);
        popupOf_.erase(id);
    };
    if (!calibrationCommand) removeCommand(command::kCalibration);
    if (!toolboxEnabled) removeCommand(command::kToolbox);
}

void CMainFrame::selectInstrument(int slot) { bar_->selectSlot(slot); }

CommandState CMainFrame::commandState() const {
    CommandState state = setupCommandState(table_, logging_->runs(), bar_->selectedSlot(), options_);
    state.toolbarVisible = !toolBar_->isHidden();
    state.statusBarVisible = !statusBar()->isHidden();
    state.trendLinkLoaded = trendLink_.loaded();
    state.readingsVisible = liveWindows_->readingsVisible();
    state.loggingStatusVisible = liveWindows_->loggingStatusVisible();
    return state;
}

void CMainFrame::updateCommands() {
    const CommandState state = commandState();
    for (const auto &[id, action] : actions_) {
        action->setEnabled(commandEnabled(id, state));
        if (const auto checked = commandChecked(id, state)) action->setChecked(*checked);
    }
}

void CMainFrame::updateRecentFiles() {
    const auto &entries = recentFiles_.entries();
    for (int index = 0; index < command::kRecentFiles; ++index) {
        QAction *action = recentFileAction(index);
        const bool present = static_cast<std::size_t>(index) < entries.size();
        action->setVisible(present);
        if (present) action->setText(QStringLiteral("&%1 %2").arg(index + 1).arg(qText(entries[index])));
    }
}

// A "[*]" in the file's own name is doubled so that it shows as it is and
// only the marker after the name stands for unsaved changes.
void CMainFrame::updateTitle() {
    const QString name =
        qText(setupTitle(document_.pathName())).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(name + QStringLiteral("[*] - ") + QString::fromLatin1(kApplicationTitle));
    setWindowModified(document_.modified());
}

void CMainFrame::updateViews() {
    const auto report = viewReport(table_, bar_->selectedSlot(), options_, regional_);
    upperView_->updateView(report);
    lowerView_->updateView(report);
}

void CMainFrame::refreshWindowState(LoggerOptions &options) const {
    options.toolbarHidden = toolBar_->isHidden();
    options.statusBarHidden = statusBar()->isHidden();
    const int height = splitter_->sizes().value(0);
    options.splitterHeight = static_cast<std::int16_t>(height == 0 ? -1 : height);
}

void CMainFrame::applyWindowState(const LoggerOptions &options) {
    toolBar_->setVisible(!options.toolbarHidden);
    statusBar()->setVisible(!options.statusBarHidden);
    if (options.splitterHeight > 0) { // -1: the setup kept no height
        const int upper = options.splitterHeight;
        const int total = splitter_->height();
        splitter_->setSizes({upper, std::max(1, total - upper)});
    }
}

void CMainFrame::moveToRect(const WindowRect &rect) { moveToKeptPlace(*this, rect); }

void CMainFrame::setupOpened() {
    if (!document_.pathName().empty()) recentFiles_.add(document_.pathName());
    updateRecentFiles();
    updateViews();
    updateCommands();
}

void CMainFrame::instrumentAdded(int slot, bool) {
    bar_->insertInstrument(slot, false);
    ui_.notify(ChildWindow::LoggingStatus, logging_status::kInstrumentAdded, slot, 0);
    updateCommands();
}

void CMainFrame::instrumentDeleted(int slot, unsigned bcn) {
    ui_.notify(ChildWindow::QuickPlot, quick_plot::kInstrumentRemoved, static_cast<int>(bcn), 0);
    bar_->removeInstrument(slot);
    ui_.notify(ChildWindow::LoggingStatus, logging_status::kInstrumentRemoved, slot, 0);
    updateViews();
    updateCommands();
}

void CMainFrame::bcnChanged(int slot, unsigned oldBcn) {
    const unsigned newBcn = table_.slot(slot).bcn;
    bar_->reorderInstrument(slot);
    announceBcnChange(ui_, toolboxNews_, slot, oldBcn, newBcn);
    updateViews();
}

void CMainFrame::commitData(QSessionManager &manager, bool surviveLogOff) {
    closeSequence_->commitData(manager, surviveLogOff, options_.simulateData);
}

void CMainFrame::closeEvent(QCloseEvent *event) {
    // Not while a file converts or logging is being waited for.
    if (!mainWindowInputEnabled(*this) || !closeSequence_->mayClose()) {
        event->ignore();
        return;
    }
    hide();
    liveWindows_->hideAll();
    table_.removeAll();
    event->accept();
}

void CMainFrame::moveEvent(QMoveEvent *event) {
    QMainWindow::moveEvent(event);
    storeWindowRect(true);
}

void CMainFrame::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    storeWindowRect(false);
}

void CMainFrame::storeWindowRect(bool moved) {
    if (const auto place = placeToKeep(*this, moved)) options_.mainWindow = *place;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

// Like the file-open command, only the first dropped file counts.
void CMainFrame::dropEvent(QDropEvent *event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    activateWindow();
    openSetupFile(urls.front().toLocalFile().toStdString());
}

} // namespace korvel
