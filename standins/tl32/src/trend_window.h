// The chart window: the curves of a chart file drawn from their data sets
// over the chart's time span, following new values as a logger stores them.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QTimer>

#include <memory>
#include <vector>

#include "chart_file.h"
#include "curve_feed.h"
#include "data_set_registry.h"
#include "trend_window_server.h"

class QChart;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace tl32 {

class TrendWindow : public QMainWindow {
    Q_OBJECT

public:
    // applicationTitle begins every window title; chartPath may be empty (a
    // window without curves). server: the claim on the chart's title when
    // it was made before the window; without one the window claims it.
    TrendWindow(tbase::Registry registry, QString applicationTitle, const QString &chartPath = {},
                std::unique_ptr<TrendWindowServer> server = nullptr);
    ~TrendWindow() override;

    // "<applicationTitle> - <chart file name>", the title that other programs find a chart's window by.
    static QString titleFor(const QString &applicationTitle, const QString &chartPath);

    // Shows the chart in this window. False when another chart window shows
    // it already: that one is brought forward and this one stays as it was.
    bool openChart(const QString &path);
    // Raised, restored when minimised, and made the active window.
    void comeForward();
    // Reads what the data sets stored since the last look (the window does so every second).
    void refresh();

    QChart *chart() const { return chart_; }
    // The series of curve i of the chart file (its values, not its limit lines).
    QLineSeries *curveSeries(std::size_t i) const;
    std::size_t curveCount() const { return curves_.size(); }

private:
    struct Curve {
        ChartCurve definition;
        std::unique_ptr<CurveFeed> feed;
        QLineSeries *values = nullptr;
        QLineSeries *high = nullptr; // limit lines of a curve with limits
        QLineSeries *low = nullptr;
        QString latest;
    };

    void createMenus();
    bool claimTitle(const QString &title);
    void answerThrough(std::unique_ptr<TrendWindowServer> server);
    void clearCurves();
    void addCurve(const ChartCurve &definition);
    void append(Curve &curve, const std::vector<tbase::TimedValue> &values);
    void fitAxes();
    void showStatus();

    tbase::Registry registry_;
    QString applicationTitle_;
    Chart chartFile_;
    QString chartProblem_;
    QChart *chart_;
    QDateTimeAxis *timeAxis_;
    QValueAxis *valueAxis_;
    std::vector<Curve> curves_;
    double newestTime_ = 0.0;
    QTimer pollTimer_;
    std::unique_ptr<TrendWindowServer> server_;
};

} // namespace tl32
