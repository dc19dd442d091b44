// The chart window on real data sets: a chart file's curves, values a writer
// stores while the window is open, the per-user socket that brings a running
// window forward or closes it, and one window per chart however the chart
// program is started.
#include <QChart>
#include <QDir>
#include <QLineSeries>
#include <QStatusBar>
#include <QtTest>

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "chart_keys.h"
#include "child_process.h"
#include "data_set_registry.h"
#include "platform/ini_profile.h"
#include "tbase32.h"
#include "temp_dir.h"
#include "trend_window.h"
#include "trend_window_link.h"
#include "wait_for.h"

namespace tl32 {

// How long a chart program, started on a busy machine, is given to show its window or end.
constexpr int kProgramBoundMs = 30000;

class TrendWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<kvtest::TempDir> temp_;
    TBaseDataSet dataSet_ = nullptr;
    double newest_ = 0.0;
    QString chartPath_;

    void store(const char *tag, double time, float value) {
        TBaseTag handle = TBaseOpenTag(dataSet_, tag);
        QCOMPARE(TBaseUpdateTag(handle, time, value), 0);
        QCOMPARE(TBaseWriteProcessing(dataSet_), 0);
    }

    // A chart made as the logger makes one: the template, then its title and curves.
    void writeChart(const std::string &path) {
        QVERIFY(QFile::copy(QStringLiteral(TLDEF_PATH), QString::fromStdString(path)));
        QFile::setPermissions(QString::fromStdString(path), QFile::ReadOwner | QFile::WriteOwner);
        korvel::writeProfileString(path, kMainSection, kTitleKey, "Oven run 7");
        const char *names[] = {"run-01m:0101", "run-01m:0102", "elsewhere:0101"};
        for (unsigned i = 0; i < 3; ++i) {
            char section[64];
            std::snprintf(section, sizeof section, kCurveSectionFormat, i + 1);
            korvel::writeProfileString(path, section, kCurveNameKey, names[i]);
            korvel::writeProfileString(path, section, kCurveTypeKey, i == 0 ? "2" : "1");
        }
        korvel::writeProfileString(path, kCurveWindowSection, kNumberOfCurvesKey, "3");
    }

private slots:
    void initTestCase() {
        temp_ = std::make_unique<kvtest::TempDir>();
        const std::string root = temp_->path();
        qputenv("TBASE32_INFOLINK_DIR", QByteArray::fromStdString(root));
        qputenv("TL32_SOCKET_DIR", QByteArray::fromStdString(root + "/sockets"));
        QCOMPARE(TBaseInitTBase(), 0);
        const std::string directory = root + "/_run";
        ::mkdir(directory.c_str(), 0755);
        QCOMPARE(TBaseAddDataSet("run-01m", directory.c_str()), 0);
        dataSet_ = TBaseOpenDataSet("run-01m", "Oven run 7");
        QVERIFY(TBaseAddTag(dataSet_, "0101", "Oven", "degC", 80.0, 20.0, 0.0) != nullptr);
        QVERIFY(TBaseAddTag(dataSet_, "0102", "Door", "V", TBASE_NO_LIMIT, -TBASE_NO_LIMIT, 0.0) != nullptr);
        // Ten minutes of readings, one every 10 s, ending now.
        newest_ = static_cast<double>(QDateTime::currentMSecsSinceEpoch());
        for (int i = 0; i < 60; ++i) {
            const double time = newest_ - (59 - i) * 10000.0;
            store("0101", time, static_cast<float>(50.0 + 25.0 * std::sin(i / 6.0)));
            store("0102", time, static_cast<float>(i % 20) / 4.0f);
        }
        chartPath_ = QString::fromStdString(directory + "/run.cht");
        writeChart(chartPath_.toStdString());
    }

    void cleanupTestCase() {
        TBaseCloseDataSet(dataSet_, 1);
        temp_.reset();
    }

    void showsTheChartFilesCurvesWithTheirValues() {
        TrendWindow window(tbase::Registry::located(), "Trend Link for Orrin", chartPath_);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Trend Link for Orrin - run.cht"));
        QCOMPARE(window.chart()->title(), QStringLiteral("Oven run 7"));
        QCOMPARE(window.curveCount(), std::size_t{3});
        QCOMPARE(window.curveSeries(0)->count(), 60);
        QCOMPARE(window.curveSeries(1)->count(), 60);
        QCOMPARE(window.curveSeries(0)->at(59).x(), newest_);
        QVERIFY(window.curveSeries(0)->name().startsWith("run-01m:0101  "));
        QVERIFY(window.curveSeries(0)->name().endsWith(" degC"));
        // The high and low limits of the first curve are drawn beside it.
        QCOMPARE(window.chart()->series().size(), 5);
        // A curve naming a data set that is not registered stays empty and says why.
        QCOMPARE(window.curveSeries(2)->count(), 0);
        QVERIFY(window.statusBar()->currentMessage().contains("elsewhere"));

        const QString screenshot = QDir::current().absoluteFilePath("tl32_trend_window.png");
        QVERIFY(window.grab().save(screenshot));
        qInfo("screenshot: %s", qPrintable(screenshot));
    }

    void valuesStoredMeanwhileAppear() {
        TrendWindow window(tbase::Registry::located(), "Trend Link for Orrin", chartPath_);
        window.show();
        QCOMPARE(window.curveSeries(0)->count(), 60);
        newest_ += 10000.0;
        store("0101", newest_, 77.5f);
        store("0102", newest_, 9.0e9f); // an open thermocouple: no point, but the legend says so
        QTRY_COMPARE_WITH_TIMEOUT(window.curveSeries(0)->count(), 61, 10000);
        QCOMPARE(window.curveSeries(0)->at(60), QPointF(newest_, 77.5));
        QTRY_VERIFY_WITH_TIMEOUT(window.curveSeries(1)->name().contains("Open TC"), 10000);
        QCOMPARE(window.curveSeries(1)->count(), 60);
    }

    void aRunningWindowIsBroughtForwardOrClosedThroughItsSocket() {
        TrendWindow window(tbase::Registry::located(), "Trend Link for Orrin", chartPath_);
        window.showMinimized();
        QVERIFY(bringTrendWindowForward("Trend Link for Orrin - run.cht"));
        QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), 5000);
        QVERIFY(!bringTrendWindowForward("Trend Link for Orrin - other.cht"));
        QVERIFY(bringAnyTrendWindowForward());
        QCOMPARE(closeTrendWindows(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 5000);
    }

    void aChartShownInOneWindowIsNotOpenedInAnother() {
        TrendWindow shown(tbase::Registry::located(), "Trend Link for Orrin", chartPath_);
        shown.showMinimized();
        // Opening its own chart again keeps the window reachable.
        QVERIFY(shown.openChart(chartPath_));
        QVERIFY(bringTrendWindowForward("Trend Link for Orrin - run.cht"));
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isMinimized(), 5000);

        shown.showMinimized();
        TrendWindow other(tbase::Registry::located(), "Trend Link for Orrin");
        QVERIFY(!other.openChart(chartPath_));
        QCOMPARE(other.windowTitle(), QStringLiteral("Trend Link for Orrin"));
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isMinimized(), 5000);
        QCOMPARE(closeTrendWindows(), 2);
    }

    void chartProgramsStartedAtOnceShowOneWindowPerChart() {
        const QString otherChart = QFileInfo(chartPath_).dir().filePath("other.cht");
        QFile::remove(otherChart);
        QVERIFY(QFile::copy(chartPath_, otherChart));
        const std::string chart = chartPath_.toStdString();
        kvtest::ChildProcess first({TL32_PATH, "-F", chart});
        kvtest::ChildProcess second({TL32_PATH, "-F", chart});
        kvtest::ChildProcess third({TL32_PATH, "-F", otherChart.toStdString()});
        // The program that finds the chart's window asks it forward and ends.
        QVERIFY(kvtest::waitFor([&] { return first.wait(0) >= 0 || second.wait(0) >= 0; }, kProgramBoundMs));
        kvtest::ChildProcess &stayed = first.wait(0) >= 0 ? second : first;
        QCOMPARE((&stayed == &first ? second : first).wait(0), 0);
        QVERIFY(kvtest::waitFor([] { return bringTrendWindowForward("Trend Link for Orrin - other.cht"); },
                                kProgramBoundMs));
        QCOMPARE(closeTrendWindows(), 2);
        QCOMPARE(stayed.wait(kProgramBoundMs), 0);
        QCOMPARE(third.wait(kProgramBoundMs), 0);
    }

    void aSocketDirectoryOpenToOthersIsNotUsed() {
        const QByteArray saved = qgetenv("TL32_SOCKET_DIR");
        const std::string open = temp_->path() + "/open";
        ::mkdir(open.c_str(), 0755);
        ::chmod(open.c_str(), 0755);
        qputenv("TL32_SOCKET_DIR", QByteArray::fromStdString(open));
        QVERIFY(trendWindowSocketDirectory().isEmpty());
        QVERIFY(trendWindowSocketName("Trend Link for Orrin - run.cht").isEmpty());
        QVERIFY(!bringAnyTrendWindowForward());
        qputenv("TL32_SOCKET_DIR", saved);
    }
};

} // namespace tl32

QTEST_MAIN(tl32::TrendWindowTest)
#include "trend_window_test.moc"
