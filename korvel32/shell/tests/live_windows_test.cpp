// The live windows against korvel-sim while two instruments log: Quick Plot's
// traces, arrows and legend in its pixels, the logging status rows and alarm,
// the current readings, the Spy and Quick Plot Setup. One logging session
// serves every case, in order; each case leaves the windows as it found them.
#include "app/command_ids.h"
#include "app/quick_plot_layout.h"
#include "scripted_user_interface.h"
#include "setup/setup_records.h"
#include "shell/channel_choice_list.h"
#include "shell/current_readings_window.h"
#include "shell/live_window_set.h"
#include "shell/logging_status_window.h"
#include "shell/main_frame.h"
#include "shell/quick_plot_setup_dialog.h"
#include "shell/quick_plot_window.h"
#include "shell/shell_application.h"
#include "shell/spy_dialogs.h"
#include "shell/tests/window_probe.h"
#include "shell/tests/windowed_logger.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTest>

#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

using namespace korvel;
using namespace korvel::command;

namespace {

constexpr int kBcns[] = {21, 22};
constexpr int kLoggingMs = 20000;

// The scripted user, and the child-window notifications delivered to the
// main window's live windows as the program's own user interface does.
class WindowedUserInterface : public ScriptedUserInterface {
public:
    void notify(ChildWindow window, int message, int wParam, long lParam) override {
        ScriptedUserInterface::notify(window, message, wParam, lParam);
        if (frame != nullptr) frame->liveWindows().engine().notify(window, message, wParam, lParam);
    }

    CMainFrame *frame = nullptr;
};

// 2101 reads 2.5 V above its HI alarm at 1 V, 2102 reads 0, 2103 a positive
// overload and 2201 -7 V, below the plot's -5.
std::string setupText(const std::string &home) {
    std::ostringstream setup;
    setup << "[KorLogger]\r\nSimMode=No\r\n";
    for (std::size_t i = 0; i < std::size(kBcns); ++i) {
        setup << "[Korvel" << i + 1 << "]\r\nBCN=" << kBcns[i]
              << "\r\nTriggerType=Intvl\r\nIntvls=0.2,0.2\r\nDataFileEnabled=Yes\r\nDataFile=" << home << "/live"
              << kBcns[i] << ".csv\r\nFileFormat=ASCII\r\nOverWrite=Yes\r\n"
              << "C1=VDC,4,1,0,0,2,1.0,0,0,0,0,Volts\r\nC1Label=Heater\r\nC2=VDC,4,\r\nC3=VDC,4,\r\n";
    }
    setup << "[Plot]\r\nSampleInterval=1\r\nYMinMax=-5.000000,5.000000\r\nPlotChans=2101,2102,2103,2201\r\n";
    return setup.str();
}

} // namespace

class LiveWindowsTest : public QObject, private test::WindowedLogger {
    Q_OBJECT

private:
    WindowedUserInterface ui;

    LiveWindowSet &live() { return frame->liveWindows(); }
    QuickPlotWindow &plot() { return live().quickPlot(); }
    const QuickPlotRing &ring() { return live().engine().plot(); }
    QString snapshots() const { return QString::fromStdString(home.path()); }

    void control(const std::string &line) {
        QCOMPARE(QString::fromStdString(sim->control(line)), QStringLiteral("ok"));
    }

    void trigger(int id) {
        QVERIFY2(frame->action(id)->isEnabled(), qPrintable(QString::number(id)));
        frame->action(id)->trigger();
    }

    bool newestSamplesValid() {
        for (std::size_t entry = 0; entry < 4; ++entry) {
            if (!ring().newestSample(entry).valid) return false;
        }
        return true;
    }

    // The plot's layout as the window draws it now.
    PlotLayout plotLayoutNow() {
        const QFontMetrics metrics(frame->font());
        const int labelWidth =
            std::max(metrics.horizontalAdvance(QStringLiteral("-5")), metrics.horizontalAdvance(QStringLiteral("5")));
        const int channels = ring().settings().channelCount;
        return plotLayout({plot().width(), plot().height(), std::max(1, metrics.averageCharWidth()),
                           std::max(1, metrics.lineSpacing()), labelWidth},
                          channels);
    }

    static bool anyPixelOf(const QImage &picture, const QRect &area, QColor colour) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (picture.pixelColor(x, y) == colour) return true;
            }
        }
        return false;
    }

private slots:
    void initTestCase() {
        startInstruments({std::begin(kBcns), std::end(kBcns)});
        control("value 21 1 2.5");
        control("value 21 2 0");
        control("special 21 3 overload");
        control("value 22 1 -7");
        const std::string path = home.path() + "/live.stp";
        std::ofstream(path, std::ios::binary) << setupText(home.path());

        QVERIFY(startWindow({"/S", path}, ui, [this](CMainFrame &created) { ui.frame = &created; }));
        QCOMPARE(ring().settings().channelCount, 4);
        trigger(kStartAll);
        QVERIFY(frame->logging().anyLogging());
        QVERIFY2(live().loggingStatusVisible(), "shown on start");
        trigger(kShowQuickPlot);
        QVERIFY(plot().shown());
        QTRY_VERIFY_WITH_TIMEOUT(newestSamplesValid(), kLoggingMs);
    }

    void cleanupTestCase() {
        QVERIFY(closeWindow(ui));
        ui.frame = nullptr;
        shutDownApplication();
    }

    void tracesStandAtTheirLevelsWithArrowsForReadingsOffThePlot() {
        const QImage picture = plot().grab().toImage();
        QVERIFY(test::saveSnapshot(picture, snapshots(), QStringLiteral("quick-plot")));
        const PlotLayout layout = plotLayoutNow();
        QVERIFY(layout.hasArea());
        const int newest = kPlotPositions - 1;
        const PlotPoint heater = layout.samplePoint(newest, plotLevel(2.5F, -5.0F, 5.0F));
        QCOMPARE(picture.pixelColor(heater.x, heater.y), QColor(Qt::black));
        const PlotPoint zero = layout.samplePoint(newest, plotLevel(0.0F, -5.0F, 5.0F));
        QCOMPARE(picture.pixelColor(zero.x, zero.y), QColor(255, 0, 0));
        QCOMPARE(zero.y, layout.bottom - (layout.bottom - layout.top) / 2);

        const PlotPoint overload = layout.samplePoint(newest, kAbovePlot);
        QCOMPARE(overload.y, layout.top);
        QCOMPARE(picture.pixelColor(overload.x, layout.top + 8), QColor(0, 0, 255));     // the upward arrow's shaft
        QCOMPARE(picture.pixelColor(overload.x - 3, layout.top + 3), QColor(0, 0, 255)); // and its head
        QCOMPARE(picture.pixelColor(overload.x - 3, layout.top + 8), QColor(Qt::white)); // beside the shaft
        const PlotPoint below = layout.samplePoint(newest, kBelowPlot);
        QCOMPARE(picture.pixelColor(below.x, layout.bottom - 8), QColor(255, 0, 255)); // the downward arrow

        const int zeroTick = zeroTickY(layout, -5.0F, 5.0F);
        QCOMPARE(picture.pixelColor(layout.left - 2, zeroTick), frame->palette().color(QPalette::WindowText));
    }

    void theLegendShowsAlarmsInRed() {
        const QImage picture = plot().grab().toImage();
        const PlotLayout layout = plotLayoutNow();
        const int h = layout.lineHeight;
        const QRect heaterLine(layout.left + 8 * layout.charWidth, layout.legendTop, 20 * layout.charWidth, h);
        QVERIFY2(anyPixelOf(picture, heaterLine, Qt::red), "2101 is in alarm");
        QVERIFY2(!anyPixelOf(picture, heaterLine.translated(0, h), Qt::red), "2102 is not");
        QCOMPARE(ring().entry(0).reading, std::string("2.50000"));
        QCOMPARE(ring().entry(2).reading, std::string("+Overload"));
        QCOMPARE(ring().entry(0).label, std::string("Heater"));
        QCOMPARE(ring().entry(0).units, std::string("Volts"));
    }

    void closingThePlotOnlyHidesItAndADoubleClickOpensItsSetup() {
        QVERIFY(plot().close() == false || !plot().isVisible());
        QVERIFY(!plot().isVisible());
        trigger(kShowQuickPlot);
        QVERIFY(plot().isVisible());
        bool opened = false;
        test::whenModalOpens<QuickPlotSetupDialog>([&](QuickPlotSetupDialog &dialog) {
            opened = true;
            dialog.reject();
        });
        QTest::mouseDClick(&plot(), Qt::LeftButton);
        QTRY_VERIFY(opened);
    }

    void quickPlotSetupRefusesAnEmptyRangeAndRestartsThePlotOnOk() {
        application->document().setModified(false);
        const std::size_t messagesBefore = ui.messages().size();
        std::vector<std::size_t> rowsShown;
        bool keptOpen = false;
        test::whenModalOpens<QuickPlotSetupDialog>([&](QuickPlotSetupDialog &dialog) {
            rowsShown = dialog.channels().selectedRows();
            test::saveSnapshot(dialog, snapshots(), QStringLiteral("quick-plot-setup"));
            dialog.maximum().setText(QStringLiteral("1"));
            dialog.minimum().setText(QStringLiteral("1"));
            dialog.accept();
            keptOpen = dialog.isVisible();
            dialog.maximum().setText(QStringLiteral("10"));
            dialog.minimum().setText(QStringLiteral("-10"));
            dialog.accept();
        });
        trigger(kQuickPlotSetup);
        QCOMPARE(rowsShown, (std::vector<std::size_t>{0, 1, 2, 3}));
        QVERIFY2(keptOpen, "the refused range keeps the dialog open");
        QCOMPARE(ui.messages().size(), messagesBefore + 1);
        QCOMPARE(ui.messages().back().text, std::string("Plot Maximum must be larger than Plot Minimum!"));
        QCOMPARE(ring().settings().maximum, 10.0F);
        QCOMPARE(ring().settings().minimum, -10.0F);
        QCOMPARE(ring().newest(), 0);
        QVERIFY(application->document().modified());

        test::whenModalOpens<QuickPlotSetupDialog>([&](QuickPlotSetupDialog &dialog) {
            dialog.maximum().setText(QStringLiteral("5"));
            dialog.minimum().setText(QStringLiteral("-5"));
            dialog.accept();
        });
        trigger(kQuickPlotSetup);
        QTRY_VERIFY_WITH_TIMEOUT(newestSamplesValid(), kLoggingMs);
    }

    void theLoggingStatusCountsScansAndShowsTheAlarm() {
        LoggingStatusWindow &status = live().loggingStatus();
        QCOMPARE(status.instrumentColumn(), QStringLiteral("21\n22"));
        QTRY_VERIFY_WITH_TIMEOUT(status.rowText(0, 1).toLong() > 0, kLoggingMs);
        QTRY_COMPARE_WITH_TIMEOUT(status.rowText(0, 2), QStringLiteral("Ch1"), kLoggingMs);
        QCOMPARE(status.rowText(1, 2), QStringLiteral("None"));
        QVERIFY(status.alarmSignShown());
        QVERIFY(status.isVisible());
        QVERIFY(test::saveSnapshot(status, snapshots(), QStringLiteral("logging-status")));
        QCOMPARE(status.rowText(2, 0), QString()); // no third row
    }

    void theReadingsShowTheSelectedInstrumentsLatestScan() {
        trigger(kShowReadings);
        CurrentReadingsWindow &readings = live().readings();
        QVERIFY(readings.isVisible());
        QVERIFY(frame->action(kShowReadings)->isChecked());
        QCOMPARE(readings.windowTitle(), QStringLiteral("Readings - 21"));
        QTRY_VERIFY_WITH_TIMEOUT(readings.readingColumn().startsWith(QStringLiteral("2.50000\n")), kLoggingMs);
        const QStringList lines = readings.readingColumn().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 32);
        QCOMPARE(lines.at(2), QStringLiteral("+Overload"));
        QCOMPARE(lines.at(3), QString()); // channel 4 is OFF
        QCOMPARE(readings.unitsColumn().split(QLatin1Char('\n')).at(0), QStringLiteral("Volts"));
        QVERIFY(test::saveSnapshot(readings, snapshots(), QStringLiteral("readings")));

        frame->selectInstrument(2);
        QCOMPARE(readings.windowTitle(), QStringLiteral("Readings - 22"));
        QTRY_VERIFY_WITH_TIMEOUT(readings.readingColumn().startsWith(QStringLiteral("-7.00000\n")), kLoggingMs);
        frame->selectInstrument(1);
        trigger(kShowReadings);
        QVERIFY(!readings.isVisible());
        QVERIFY(!frame->action(kShowReadings)->isChecked());
    }

    // The handlers only look and record: a failed check inside a modal loop
    // would leave the window open, so every check comes after it closed.
    void theSpyReadsItsChannelsAndADoubleClickChoosesAgain() {
        control("dio 22 7");
        QString channelsSeen;
        QString readingsSeen;
        std::size_t reselected = 0;
        int selections = 0;
        test::whenModalOpens<SpySelectionDialog>([&](SpySelectionDialog &dialog) {
            ++selections;
            ChannelChoiceList &list = dialog.channels();
            list.clearSelection();
            list.item(0)->setSelected(true); // 2101
            const auto dio = list.findItems(QStringLiteral("22DIO"), Qt::MatchExactly);
            if (!dio.isEmpty()) dio.front()->setSelected(true);
            test::saveSnapshot(dialog, snapshots(), QStringLiteral("spy-channel-selection"));
            dialog.accept();
            test::whenModalOpens<SpyWindow>([&](SpyWindow &window) {
                channelsSeen = window.channelColumn();
                if (QTest::qWaitFor([&] { return !window.readingColumn().startsWith(QLatin1Char('\n')); }, kLoggingMs))
                    readingsSeen = window.readingColumn();
                test::saveSnapshot(window, snapshots(), QStringLiteral("spy"));
                test::whenModalOpens<SpySelectionDialog>([&](SpySelectionDialog &again) {
                    ++selections;
                    reselected = again.channels().selectedRows().size();
                    again.reject();
                });
                QTest::mouseDClick(&window, Qt::LeftButton);
            });
        });
        trigger(kSpy);
        QTRY_COMPARE_WITH_TIMEOUT(selections, 2, kLoggingMs);
        QCOMPARE(channelsSeen, QStringLiteral("2101\n22DIO"));
        QCOMPARE(readingsSeen, QStringLiteral("2.50000\n7"));
        QCOMPARE(reselected, std::size_t{2});
        QVERIFY(live().engine().spy() == nullptr);
        QVERIFY(frame->logging().anyLogging()); // the logging sessions stay
    }

    void theMainWindowKeepsThePlotsPlaceWithTheSetup() {
        plot().moveToPlace(WindowRect{10, 20, 610, 420});
        QTRY_COMPARE(plot().place(), (WindowRect{10, 20, 610, 420}));
        const std::string copy = home.path() + "/placed.stp";
        QVERIFY(application->document().save(copy));
        std::ifstream saved(copy, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(saved), {}};
        const auto place = encodeWindowRect(WindowRect{10, 20, 610, 420});
        QVERIFY(bytes.find(std::string(place.begin(), place.end())) != std::string::npos);
        const auto settings = encodePlotSettings(ring().settings());
        QVERIFY(bytes.find(std::string(settings.begin(), settings.end())) != std::string::npos);
        application->document().setModified(false);
        QVERIFY(frame->logging().anyLogging());
    }
};

QTEST_MAIN(LiveWindowsTest)
#include "live_windows_test.moc"
