// The main window against korvel-sim: instruments start and stop from the
// menu, and closing while they log asks first and waits for every run to end
// before the save question.
#include "app/command_ids.h"
#include "scripted_user_interface.h"
#include "shell/close_sequence.h"
#include "shell/config_view.h"
#include "shell/conversion_dialog.h"
#include "shell/instrument_button.h"
#include "shell/instrument_calibration_dialog.h"
#include "shell/main_frame.h"
#include "shell/shell_application.h"
#include "shell/tests/window_probe.h"
#include "shell/tests/windowed_logger.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QWindow>

#include <cstdio>
#include <fstream>
#include <memory>

using namespace korvel;
using namespace korvel::command;

namespace {

constexpr int kBcns[] = {21, 22};
constexpr int kRunEndMs = 15000;

// Answers like the scripted interface, and notes whether anything was still
// logging when each question came.
class RecordingUserInterface : public ScriptedUserInterface {
public:
    MessageAnswer showMessage(const std::string &text, MessageIcon icon, MessageButtons buttons) override {
        loggingAtMessage.push_back(frame != nullptr && frame->logging().anyLogging());
        return ScriptedUserInterface::showMessage(text, icon, buttons);
    }

    CMainFrame *frame = nullptr;
    std::vector<bool> loggingAtMessage;
};

} // namespace

class MainFrameTest : public QObject, private test::WindowedLogger {
    Q_OBJECT

private:
    std::unique_ptr<RecordingUserInterface> ui;

    std::string writeSetup(const std::string &name = "two.stp", std::vector<int> bcns = {kBcns[0], kBcns[1]}) const {
        return writeLoggingSetup(name, bcns, "0.1", false);
    }

    bool logging(int slot) const { return frame->logging().runs().logging(slot); }
    // The title as the window manager shows it, the modified marker applied.
    QString shownTitle() const { return frame->windowHandle()->title(); }
    QString statusText() const { return frame->statusBar()->currentMessage(); }
    bool anyLogging() const { return frame->logging().anyLogging(); }
    bool enabled(int id) const { return frame->action(id)->isEnabled(); }
    QToolBar &toolBar() const { return *frame->findChild<QToolBar *>(QStringLiteral("Toolbar")); }
    CConfigView &view(int pane) const { return *qobject_cast<CConfigView *>(frame->splitter().widget(pane)); }

    void trigger(int id) {
        QVERIFY2(enabled(id), qPrintable(QString::number(id)));
        frame->action(id)->trigger();
    }

    bool questionAsked(const std::string &text) const {
        for (const auto &message : ui->messages()) {
            if (message.text == text) return true;
        }
        return false;
    }

    void launch(std::vector<std::string> switches) {
        switches.push_back(writeSetup());
        ui = std::make_unique<RecordingUserInterface>();
        QVERIFY(startWindow(switches, *ui));
        ui->frame = frame;
        QCOMPARE(application->instruments().count(), 2);
    }

    // Whatever a test left logging is stopped without saving.
    void closeAndShutDown() {
        const bool closed = closeWindow(*ui);
        ui->frame = nullptr;
        shutDownApplication();
        QVERIFY(closed);
    }

private slots:
    void initTestCase() { startInstruments({std::begin(kBcns), std::end(kBcns)}); }

    void init() { launch({"/S"}); }
    void cleanup() { closeAndShutDown(); }

    void theWindowOpensWithTheSetupAndItsMenusTrimmed() {
        QVERIFY(shownTitle().startsWith(QStringLiteral("two.stp")));
        QVERIFY(shownTitle().endsWith(QStringLiteral(" - Orrin Korvel Logger")));
        QVERIFY2(frame->action(kCalibration) == nullptr, "no /C");
        QVERIFY2(frame->action(kToolbox) == nullptr, "the toolbox is off");
        const QList<QAction *> menus = frame->menuBar()->actions();
        QCOMPARE(menus.size(), 7);
        const QList<QAction *> utilities = menus.at(4)->menu()->actions();
        QCOMPARE(utilities.back()->text(), QStringLiteral("Binary to &Trend Link Conversion..."));
        QVERIFY(!menus.at(5)->menu()->actions().back()->isSeparator());
        QCOMPARE(frame->instrumentBar().selectedSlot(), 1);
        QCOMPARE(frame->splitter().count(), 2);
        QAction *recent = frame->action(kFirstRecentFile);
        QVERIFY(recent->isVisible());
        QVERIFY(recent->text().endsWith(QStringLiteral("/two.stp")));
        QVERIFY(!frame->action(kFirstRecentFile + 1)->isVisible());
    }

    void switchesKeepCalibrationAndStartEveryInstrument() {
        closeAndShutDown();
        launch({"/s", "/c", "/g"});
        QVERIFY(frame->action(kCalibration) != nullptr);
        QVERIFY(!frame->action(kCalibration)->isEnabled());
        QVERIFY(logging(1) && logging(2));
        QCOMPARE(frame->iconOf(2), InstrumentIcon::Logging);
    }

    void theCalibrationCommandOpensItsDialogWhileNothingLogs() {
        closeAndShutDown();
        launch({"/s", "/c"});
        QString caption;
        test::whenModalOpens<InstrumentCalibrationDialog>([&](InstrumentCalibrationDialog &dialog) {
            caption = dialog.windowTitle();
            dialog.closeButton().click();
        });
        trigger(kCalibration);
        QCOMPARE(caption, QStringLiteral("Instrument Calibration"));
        QVERIFY(ui->messages().empty());
    }

    void anInstrumentStartsAndStopsFromTheMenu() {
        // An earlier run may have left it.
        const std::string dataFile = home.path() + "/bcn21.csv";
        std::remove(dataFile.c_str());
        QCOMPARE(frame->iconOf(1), InstrumentIcon::Idle);
        QVERIFY(!enabled(kStopInstrument));
        trigger(kStartInstrument);
        QVERIFY(logging(1));
        QVERIFY(!logging(2));
        QCOMPARE(frame->iconOf(1), InstrumentIcon::Logging);
        QVERIFY(!enabled(kStartInstrument));
        QVERIFY(enabled(kStopInstrument));
        QVERIFY(!enabled(kOpenSetup));
        QVERIFY(enabled(kStopAll));

        QTRY_VERIFY_WITH_TIMEOUT(std::ifstream(dataFile).good(), kRunEndMs);
        QVERIFY(test::saveSnapshot(*frame, home.path().c_str(), QStringLiteral("main_window")));

        trigger(kStopInstrument);
        QTRY_VERIFY_WITH_TIMEOUT(!logging(1), kRunEndMs);
        QCOMPARE(frame->iconOf(1), InstrumentIcon::Idle);
        QVERIFY(enabled(kStartInstrument));
        QVERIFY(enabled(kOpenSetup));
    }

    // The setup keeps the outer rectangle, and puts the whole window back there.
    void aKeptWindowRectangleIsWhereTheFrameGoes() {
        frame->moveToRect(WindowRect{40, 30, 640, 480});
        QTRY_COMPARE(frame->frameGeometry(), QRect(40, 30, 600, 450));
    }

    void theConversionCommandsOpenTheirDialogs() {
        for (const auto &[id, caption] : {std::pair{kBinaryToAscii, "Binary to ASCII Conversion"},
                                          std::pair{kAsciiTimestamp, "ASCII to Text Timestamp Conversion"},
                                          std::pair{kBinaryToTrendLink, "Binary to Trend Link Conversion"}}) {
            QString shown;
            test::whenModalOpens<ConversionDialog>([&shown](ConversionDialog &dialog) {
                shown = dialog.windowTitle();
                dialog.closeButton().click();
            });
            const std::size_t before = ui->messages().size();
            trigger(id);
            QCOMPARE(shown, QString::fromLatin1(caption));
            QCOMPARE(ui->messages().size(), before);
        }
    }

    void tabInTheSetupViewGoesToTheSelectedInstrument() {
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        frame->selectInstrument(2);
        view(0).setFocus();
        QTRY_VERIFY(view(0).hasFocus());
        QTest::keyClick(&view(0), Qt::Key_Tab);
        auto *button = qobject_cast<InstrumentButton *>(QApplication::focusWidget());
        QVERIFY(button != nullptr);
        QCOMPARE(button->slot(), 2);
        view(1).setFocus();
        QTest::keyClick(&view(1), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), button);
    }

    void aDoubleClickOnEitherPaneOpensTheConfigurationOnlyWhenAllowed() {
        int opened = 0;
        const auto doubleClick = [&](int pane) {
            // Closes the dialog the double click opened, if any.
            QTimer::singleShot(0, frame, [&opened] {
                if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                    ++opened;
                    dialog->done(QDialog::Rejected);
                }
            });
            QTest::mouseDClick(view(pane).viewport(), Qt::LeftButton);
            QCoreApplication::processEvents();
        };
        doubleClick(0);
        doubleClick(1);
        QCOMPARE(opened, 2);
        trigger(kLockout);
        doubleClick(0);
        trigger(kLockout);
        trigger(kStartInstrument);
        doubleClick(1);
        QCOMPARE(opened, 2);
        QVERIFY(ui->messages().empty());
    }

    void deletingAnInstrumentTellsEachChildWindowOnce() {
        const std::size_t before = ui->notifications().size();
        ui->queueAnswer(MessageAnswer::Yes);
        trigger(kDeleteInstrument);
        QCOMPARE(application->instruments().count(), 1);
        QCOMPARE(frame->instrumentBar().slotsInOrder().size(), std::size_t{1});
        int removedFromStatus = 0, removedFromPlot = 0;
        for (std::size_t i = before; i < ui->notifications().size(); ++i) {
            const auto &told = ui->notifications()[i];
            removedFromStatus +=
                told.window == ChildWindow::LoggingStatus && told.message == logging_status::kInstrumentRemoved;
            removedFromPlot += told.window == ChildWindow::QuickPlot &&
                               told.message == quick_plot::kInstrumentRemoved && told.wParam == kBcns[0];
        }
        QCOMPARE(removedFromStatus, 1);
        QCOMPARE(removedFromPlot, 1);
        QVERIFY(application->document().modified());
    }

    void optionTogglesMarkTheSetupModifiedExceptTheLockout() {
        application->document().setModified(false);
        trigger(kLockout);
        QVERIFY(frame->action(kLockout)->isChecked());
        QVERIFY(!enabled(kCreateInstrument));
        QVERIFY(!application->document().modified());
        trigger(kClearTotalizer);
        QVERIFY(!frame->action(kClearTotalizer)->isChecked());
        QVERIFY(application->document().modified());
    }

    // The setup here is in text form, which stays modified until saved. The
    // title follows whichever command marks the setup modified.
    void theTitleMarksUnsavedChangesUntilSavedOrOpened() {
        const QString saved = QStringLiteral("two.stp - Orrin Korvel Logger");
        const QString changed = QStringLiteral("two.stp* - Orrin Korvel Logger");
        QCOMPARE(shownTitle(), changed);
        trigger(kSaveSetup);
        QCOMPARE(shownTitle(), saved);
        trigger(kSimulate);
        QCOMPARE(shownTitle(), changed);
        trigger(kSaveSetup);
        trigger(kLockout);
        QCOMPARE(shownTitle(), saved);
        trigger(kLockout);
        ui->queueAnswer(MessageAnswer::Yes);
        trigger(kDeleteInstrument);
        QCOMPARE(shownTitle(), changed);
        ui->queueAnswer(MessageAnswer::No);
        QVERIFY(frame->openSetupFile(application->document().pathName()));
        QCOMPARE(shownTitle(), saved);
        QCOMPARE(application->instruments().count(), 2);

        // A "[*]" in the file's own name is shown as it stands, marked or not.
        QVERIFY(frame->openSetupFile(writeSetup("rig [*].stp")));
        QCOMPARE(shownTitle(), QStringLiteral("rig [*].stp* - Orrin Korvel Logger"));
        trigger(kSaveSetup);
        QCOMPARE(shownTitle(), QStringLiteral("rig [*].stp - Orrin Korvel Logger"));
    }

    void aGreyedOutCommandShowsItsPromptWhileHovered() {
        // An earlier double click leaves the button down as far as Qt knows,
        // and a pointer with a button down enters no other widget.
        if (QGuiApplication::mouseButtons() != Qt::NoButton)
            QTest::mouseRelease(frame->windowHandle(), Qt::LeftButton, {}, QPoint(300, 300));
        QVERIFY(!enabled(kStopInstrument));
        QMenu *loggingMenu = frame->menuBar()->actions().at(2)->menu();
        loggingMenu->popup(frame->mapToGlobal(QPoint(40, 40)));
        QVERIFY(QTest::qWaitForWindowExposed(loggingMenu));
        const auto middleOf = [&](int id) { return loggingMenu->actionGeometry(frame->action(id)).center(); };
        QTest::mouseMove(loggingMenu, middleOf(kStopInstrument));
        QTRY_COMPARE(statusText(), QStringLiteral("Stop instrument logging"));
        QTest::mouseMove(loggingMenu, middleOf(kStartInstrument));
        QTRY_COMPARE(statusText(), QStringLiteral("Start instrument logging"));
        QTest::mouseMove(loggingMenu, middleOf(kStopAll));
        QTRY_COMPARE(statusText(), QStringLiteral("Stop all instruments logging"));
        QTest::mouseMove(frame->centralWidget(), QPoint(300, 300));
        QTRY_COMPARE(statusText(), QStringLiteral("Ready"));
        loggingMenu->hide();

        QWidget *stopButton = toolBar().widgetForAction(frame->action(kStopInstrument));
        QVERIFY(!stopButton->isEnabled());
        QTest::mouseMove(stopButton);
        QTRY_COMPARE(statusText(), QStringLiteral("Stop instrument logging"));
        QTest::mouseMove(frame->centralWidget(), QPoint(300, 300));
        QTRY_COMPARE(statusText(), QStringLiteral("Ready"));
    }

    void aSavedSetupBringsItsBarsBackWhenOpenedAgain() {
        trigger(kToolbar);
        QVERIFY(!frame->action(kToolbar)->isChecked());
        trigger(kSaveSetup);
        QVERIFY(!application->document().modified());
        trigger(kToolbar);
        QVERIFY(frame->action(kToolbar)->isChecked());
        QVERIFY(frame->openSetupFile(application->document().pathName()));
        QVERIFY2(!frame->action(kToolbar)->isChecked(), "the saved setup had the toolbar hidden");
        QCOMPARE(application->instruments().count(), 2);
        QVERIFY(ui->messages().empty());
    }

    void aDroppedSetupFileOpensAfterTheSaveQuestion() {
        const QString path = QString::fromStdString(writeSetup("one.stp", {kBcns[1]}));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        ui->queueAnswer(MessageAnswer::No);
        QApplication::sendEvent(frame, &drop);
        QCOMPARE(ui->messages().size(), std::size_t{1});
        QCOMPARE(application->instruments().count(), 1);
        QCOMPARE(frame->instrumentBar().slotsInOrder(), std::vector<int>{1});
        QCOMPARE(shownTitle(), QStringLiteral("one.stp* - Orrin Korvel Logger"));
        QVERIFY(frame->action(kFirstRecentFile)->text().endsWith(QStringLiteral("/one.stp")));
        QVERIFY(frame->action(kFirstRecentFile + 1)->text().endsWith(QStringLiteral("/two.stp")));
    }

    void closingWhileLoggingAndCancellingKeepsLogging() {
        trigger(kStartAll);
        QVERIFY(logging(1) && logging(2));
        ui->queueAnswer(MessageAnswer::Cancel);
        QVERIFY(!frame->close());
        QVERIFY(questionAsked(kLoggingWillStop));
        QVERIFY(frame->isVisible());
        QVERIFY(logging(1) && logging(2));
    }

    void closingWhileLoggingWaitsForEveryRunBeforeTheSaveQuestion() {
        trigger(kStartAll);
        ui->queueAnswer(MessageAnswer::Ok);
        ui->queueAnswer(MessageAnswer::No);
        QVERIFY(frame->close());
        QCOMPARE(ui->messages().size(), std::size_t{2});
        QCOMPARE(ui->messages().at(0).text, std::string(kLoggingWillStop));
        QCOMPARE(ui->messages().at(1).text, std::string("Setup has changed.  Save the changes?"));
        QVERIFY2(ui->loggingAtMessage.at(0), "asked while logging");
        QVERIFY2(!ui->loggingAtMessage.at(1), "every run had ended before the save question");
        QVERIFY(!frame->isVisible());
        QCOMPARE(application->instruments().count(), 0);
    }
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
