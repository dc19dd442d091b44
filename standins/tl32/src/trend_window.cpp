#include "trend_window.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QFileInfo>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenuBar>
#include <QPen>
#include <QStatusBar>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

#include "chart_keys.h"
#include "trend_window_link.h"

namespace tl32 {
namespace {

constexpr int kPollMs = 1000;
constexpr double kNoLimit = 1e37; // limits beyond this are "none" (the historian's 3E38)
constexpr float kOpenThermocouple = 9.0e9f;
constexpr float kOverload = 1.0e9f;

const QColor kPalette[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c),
                           QColor(0xff, 0x7f, 0x0e), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                           QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f)};

// The logger's markers for readings that are not numbers of the measured quantity.
bool isMarker(double value) {
    const float asFloat = static_cast<float>(value);
    return asFloat == kOpenThermocouple || asFloat == kOverload || asFloat == -kOverload;
}

QString valueText(double value) {
    const float asFloat = static_cast<float>(value);
    if (asFloat == kOpenThermocouple) return QStringLiteral("Open TC");
    if (asFloat == kOverload) return QStringLiteral("+Overload");
    if (asFloat == -kOverload) return QStringLiteral("-Overload");
    return QString::number(value, 'g', 6);
}

QColor curveColor(const ChartCurve &curve) {
    const QColor chosen(QString::fromStdString(curve.color));
    return chosen.isValid() ? chosen : kPalette[(curve.number - 1) % std::size(kPalette)];
}

} // namespace

TrendWindow::TrendWindow(tbase::Registry registry, QString applicationTitle, const QString &chartPath,
                         std::unique_ptr<TrendWindowServer> server)
        : registry_(std::move(registry)), applicationTitle_(std::move(applicationTitle)), chart_(new QChart),
          timeAxis_(new QDateTimeAxis), valueAxis_(new QValueAxis) {
    setObjectName(QStringLiteral("TrendWindow"));
    chart_->addAxis(timeAxis_, Qt::AlignBottom);
    chart_->addAxis(valueAxis_, Qt::AlignLeft);
    chart_->legend()->setAlignment(Qt::AlignBottom);
    auto *view = new QChartView(chart_, this);
    view->setRenderHint(QPainter::Antialiasing);
    setCentralWidget(view);
    createMenus();
    resize(900, 520);
    connect(&pollTimer_, &QTimer::timeout, this, &TrendWindow::refresh);
    pollTimer_.start(kPollMs);
    if (server) answerThrough(std::move(server));
    openChart(chartPath);
}

TrendWindow::~TrendWindow() = default;

void TrendWindow::createMenus() {
    QMenu *file = menuBar()->addMenu(tr("&File"));
    QAction *open = file->addAction(tr("&Open Chart..."), this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, tr("Open Chart"), QString(), tr("Chart Files (*.cht);;All Files (*)"));
        if (!path.isEmpty()) openChart(path);
    });
    open->setShortcut(QKeySequence::Open);
    QAction *exit = file->addAction(tr("E&xit"), this, &QWidget::close);
    exit->setShortcut(QKeySequence::Quit);
}

QString TrendWindow::titleFor(const QString &applicationTitle, const QString &chartPath) {
    return chartPath.isEmpty() ? applicationTitle : applicationTitle + " - " + QFileInfo(chartPath).fileName();
}

// The window keeps its claim while its title stays; another title is claimed
// before the old one is let go.
bool TrendWindow::claimTitle(const QString &title) {
    if (server_ && server_->title() == title) return true;
    std::unique_ptr<TrendWindowServer> server = TrendWindowServer::claim(title);
    if (!server) return false;
    answerThrough(std::move(server));
    return true;
}

void TrendWindow::answerThrough(std::unique_ptr<TrendWindowServer> server) {
    connect(server.get(), &TrendWindowServer::comeForwardRequested, this, &TrendWindow::comeForward);
    connect(server.get(), &TrendWindowServer::closeRequested, this, &QWidget::close);
    server_ = std::move(server);
}

bool TrendWindow::openChart(const QString &path) {
    const QString title = titleFor(applicationTitle_, path);
    if (!claimTitle(title)) {
        bringTrendWindowForward(title);
        return false;
    }
    setWindowTitle(title);
    clearCurves();
    chartFile_ = path.isEmpty() ? Chart{} : readChartFile(QFile::encodeName(path).toStdString());

    chart_->setTitle(QString::fromStdString(chartFile_.title));
    if (!chartFile_.fontName.empty()) {
        QFont font = chart_->titleFont();
        font.setFamily(QString::fromStdString(chartFile_.fontName));
        chart_->setTitleFont(font);
    }
    if (const auto &placement = chartFile_.placement)
        setGeometry(placement->x, placement->y, placement->width, placement->height);
    chartProblem_ =
        !path.isEmpty() && !QFileInfo(path).isReadable() ? tr("Cannot read the chart file %1").arg(path) : QString();
    for (const ChartCurve &curve : chartFile_.curves) addCurve(curve);
    refresh();
    return true;
}

void TrendWindow::comeForward() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void TrendWindow::clearCurves() {
    chart_->removeAllSeries();
    curves_.clear();
    newestTime_ = 0.0;
}

void TrendWindow::addCurve(const ChartCurve &definition) {
    Curve curve;
    curve.definition = definition;
    curve.feed = std::make_unique<CurveFeed>(registry_, definition);
    curve.values = new QLineSeries;
    QPen pen(curveColor(definition));
    pen.setWidth(std::max(1, definition.lineWidth));
    curve.values->setPen(pen);
    curve.values->setName(QString::fromStdString(definition.name));
    chart_->addSeries(curve.values);
    curve.values->attachAxis(timeAxis_);
    curve.values->attachAxis(valueAxis_);
    if (definition.type == kCurveWithLimits) {
        pen.setStyle(Qt::DashLine);
        pen.setWidth(1);
        for (QLineSeries **limit : {&curve.high, &curve.low}) {
            *limit = new QLineSeries;
            (*limit)->setPen(pen);
            chart_->addSeries(*limit);
            (*limit)->attachAxis(timeAxis_);
            (*limit)->attachAxis(valueAxis_);
        }
        // Only the values have an entry in the legend.
        for (QLegendMarker *marker : chart_->legend()->markers(curve.high)) marker->setVisible(false);
        for (QLegendMarker *marker : chart_->legend()->markers(curve.low)) marker->setVisible(false);
    }
    curves_.push_back(std::move(curve));
}

QLineSeries *TrendWindow::curveSeries(std::size_t i) const { return i < curves_.size() ? curves_[i].values : nullptr; }

void TrendWindow::refresh() {
    const double spanMs = chartFile_.timeSpanSeconds * 1000.0;
    for (Curve &curve : curves_) append(curve, curve.feed->poll(spanMs));
    fitAxes();
    showStatus();
}

void TrendWindow::append(Curve &curve, const std::vector<tbase::TimedValue> &values) {
    if (values.empty()) return;
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(values.size()));
    for (const tbase::TimedValue &value : values)
        if (!isMarker(value.value)) points.append(QPointF(value.time, value.value));
    curve.values->append(points);
    newestTime_ = std::max(newestTime_, values.back().time);
    curve.latest = valueText(values.back().value);
    QString name = QString::fromStdString(curve.definition.name) + "  " + curve.latest;
    if (const auto &tag = curve.feed->tag(); tag && !tag->units.empty())
        name += " " + QString::fromStdString(tag->units);
    curve.values->setName(name);

    // Points long out of sight are let go, so a chart left open for days stays light.
    const double keepFrom = newestTime_ - 2.0 * chartFile_.timeSpanSeconds * 1000.0;
    int old = 0;
    while (old < curve.values->count() && curve.values->at(old).x() < keepFrom) ++old;
    if (old > 0) curve.values->removePoints(0, old);
}

void TrendWindow::fitAxes() {
    const double spanMs = chartFile_.timeSpanSeconds * 1000.0;
    const double end = newestTime_ > 0.0 ? newestTime_ : static_cast<double>(QDateTime::currentMSecsSinceEpoch());
    const double start = end - spanMs;
    timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(start)),
                        QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(end)));
    timeAxis_->setFormat(spanMs > 86400e3 ? QStringLiteral("dd.MM hh:mm") : QStringLiteral("hh:mm:ss"));

    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (Curve &curve : curves_) {
        for (const QPointF &point : curve.values->points()) {
            if (point.x() < start) continue;
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
        if (!curve.high || !curve.feed->tag()) continue;
        curve.high->clear();
        curve.low->clear();
        const tbase::TagInfo &tag = *curve.feed->tag();
        for (auto [limit, line] : {std::pair{tag.high, curve.high}, std::pair{tag.low, curve.low}}) {
            if (std::fabs(limit) >= kNoLimit) continue;
            line->append({QPointF(start, limit), QPointF(end, limit)});
            low = std::min(low, limit);
            high = std::max(high, limit);
        }
    }
    if (!(low <= high)) {
        low = 0.0; // nothing to show yet
        high = 1.0;
    }
    const double margin = (high - low) * 0.05 + (high == low ? std::max(1.0, std::fabs(high) * 0.05) : 0.0);
    valueAxis_->setRange(low - margin, high + margin);
    valueAxis_->applyNiceNumbers();
}

void TrendWindow::showStatus() {
    if (!chartProblem_.isEmpty()) {
        statusBar()->showMessage(chartProblem_);
        return;
    }
    if (curves_.empty()) {
        statusBar()->showMessage(tr("No curves: open a chart file (File > Open Chart...)"));
        return;
    }
    for (const Curve &curve : curves_) {
        if (!curve.feed->problem().empty()) {
            statusBar()->showMessage(QString::fromStdString(curve.definition.name + ": " + curve.feed->problem()));
            return;
        }
    }
    const QString newest =
        newestTime_ > 0.0
            ? QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(newestTime_)).toString("yyyy-MM-dd hh:mm:ss")
            : tr("none yet");
    statusBar()->showMessage(tr("%n curve(s), newest value %1", nullptr, static_cast<int>(curves_.size())).arg(newest));
}

} // namespace tl32
