#include "shell/quick_plot_drawing.h"

#include "app/quick_plot_layout.h"
#include "platform/string_table.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <vector>

namespace korvel {

namespace {

constexpr int kLegendLineColumns = 7;
constexpr int kLegendIdentifierColumn = 8;
constexpr int kLegendReadingColumn = 11;
constexpr int kLegendUnitsColumn = 24;

QString qText(const std::string &text) { return QString::fromStdString(text); }

QColor qColour(PlotColour colour) { return {colour.red, colour.green, colour.blue}; }

// The legend and label texts stand with their top at y.
class TextPen {
public:
    TextPen(QPainter &painter, const QuickPlotStyle &style) : painter_(painter), metrics_(style.font) {
        painter_.setFont(style.font);
    }

    int width(const QString &text) const { return metrics_.horizontalAdvance(text); }
    void draw(int x, int y, const QString &text, const QColor &colour) {
        painter_.setPen(colour);
        painter_.drawText(QPoint(x, y + metrics_.ascent()), text);
    }
    // Right-aligned at right, centred on y.
    void drawBeside(int right, int y, const QString &text, const QColor &colour) {
        draw(right - width(text), y - metrics_.height() / 2, text, colour);
    }

private:
    QPainter &painter_;
    QFontMetrics metrics_;
};

void drawShape(QPainter &painter, PlotPoint at, std::span<const PlotPoint> shape, const QColor &colour) {
    QPolygon polygon;
    for (const PlotPoint &corner : shape) polygon << QPoint(at.x + corner.x, at.y - corner.y);
    painter.setPen(colour);
    painter.setBrush(colour);
    painter.drawPolygon(polygon);
    painter.setBrush(Qt::NoBrush);
}

// The entries that hold a channel, in order; each gets the next colour and marker.
std::vector<std::size_t> chosenEntries(const QuickPlotRing &ring) {
    std::vector<std::size_t> entries;
    for (std::size_t index = 0; index < kPlotChannels; ++index) {
        if (ring.settings().channels[index] != 0) entries.push_back(index);
    }
    return entries;
}

QString identifierText(const QuickPlotRing &ring, std::size_t index) {
    QString text = QString::asprintf("%04u", static_cast<unsigned>(ring.settings().channels[index]));
    const std::string &label = ring.entry(index).label;
    if (!label.empty()) text += QStringLiteral(" (") + qText(label) + QStringLiteral(")");
    return text;
}

// The Y axis labels: minimum and maximum, as the layout measured them.
struct AxisLabels {
    QString minimum;
    QString maximum;
};

void drawAxes(QPainter &painter, TextPen &pen, const PlotLayout &layout, const QuickPlotRing &ring,
              const AxisLabels &labels, const QuickPlotStyle &style) {
    const int h = layout.lineHeight;
    const PlotSettings &settings = ring.settings();
    painter.setPen(style.text);
    painter.drawLine(layout.left - h / 2, layout.top, layout.left, layout.top);
    const int step = layout.step();
    for (int tick = 1; tick <= kPlotTicks; ++tick) {
        const int x = layout.left + tick * step;
        painter.drawLine(x, layout.bottom, x, layout.bottom + h / 2);
    }
    painter.drawLine(layout.left, layout.top, layout.left, layout.bottom);
    painter.drawLine(layout.left, layout.bottom, layout.left + kPlotTicks * step, layout.bottom);
    const int labelsRight = layout.left - layout.charWidth;
    const int zero = zeroTickY(layout, settings.minimum, settings.maximum);
    if (zero >= 0) {
        painter.drawLine(layout.left - h / 2, zero, layout.left, zero);
        pen.drawBeside(labelsRight, zero, QStringLiteral("0"), style.text);
    }
    pen.drawBeside(labelsRight, layout.bottom, labels.minimum, style.text);
    pen.drawBeside(labelsRight, layout.top, labels.maximum, style.text);
}

bool drawTrace(QPainter &painter, const PlotLayout &layout, const QuickPlotRing &ring, std::size_t index, int order) {
    const QColor colour = qColour(traceColour(order));
    bool anyValid = false;
    bool previousValid = false;
    PlotPoint previous;
    for (int step = 0; step < kPlotPositions; ++step) {
        const PlotSample &sample = ring.sampleAt(index, step);
        if (!sample.valid) {
            previousValid = false;
            continue;
        }
        const PlotPoint point = layout.samplePoint(step, sample.level);
        if (previousValid) {
            painter.setPen(colour);
            painter.drawLine(previous.x, previous.y, point.x, point.y);
        }
        const bool offPlot = sample.level == kAbovePlot || sample.level == kBelowPlot;
        drawShape(painter, point, offPlot ? arrowShape(sample.level) : markerShape(order), colour);
        previous = point;
        previousValid = anyValid = true;
    }
    return anyValid;
}

void drawLegend(QPainter &painter, TextPen &pen, const PlotLayout &layout, const QuickPlotRing &ring,
                const std::vector<std::size_t> &entries, const QuickPlotStyle &style) {
    const int w = layout.charWidth;
    const int h = layout.lineHeight;
    if (entries.empty()) {
        pen.draw(layout.left, layout.legendTop + h / 2, QString::fromLatin1(kNoPlotChannels), style.text);
        return;
    }
    std::vector<QString> identifiers;
    identifiers.reserve(entries.size());
    int widest = 0;
    for (const std::size_t index : entries) {
        identifiers.push_back(identifierText(ring, index));
        widest = std::max(widest, pen.width(identifiers.back()));
    }
    const QColor alarm(Qt::red);
    const QString noReading = qText(resourceString(message::kNoReading));
    int y = layout.legendTop;
    for (std::size_t order = 0; order < entries.size(); ++order) {
        const std::size_t index = entries[order];
        const PlotEntry &entry = ring.entry(index);
        const QColor colour = qColour(traceColour(static_cast<int>(order)));
        const int middle = y + h / 2;
        painter.setPen(colour);
        painter.drawLine(layout.left, middle, layout.left + kLegendLineColumns * w, middle);
        drawShape(painter, {layout.left + kLegendLineColumns * w / 2, middle}, markerShape(static_cast<int>(order)),
                  colour);
        const bool valid = ring.newestSample(index).valid;
        const QColor &text = valid && entry.inAlarm ? alarm : style.text;
        pen.draw(layout.left + kLegendIdentifierColumn * w, y, identifiers[order], text);
        pen.draw(layout.left + widest + kLegendReadingColumn * w, y, valid ? qText(entry.reading) : noReading, text);
        pen.draw(layout.left + widest + kLegendUnitsColumn * w, y, qText(entry.units), text);
        y += h;
    }
}

} // namespace

bool drawQuickPlot(QPainter &painter, QSize client, const QuickPlotRing &ring, const QuickPlotStyle &style) {
    painter.fillRect(QRect(QPoint(0, 0), client), Qt::white);
    TextPen pen(painter, style);
    const PlotSettings &settings = ring.settings();
    const AxisLabels labels{qText(plotLabel(settings.minimum, style.decimalSymbol)),
                            qText(plotLabel(settings.maximum, style.decimalSymbol))};
    const std::vector<std::size_t> entries = chosenEntries(ring);
    const PlotLayout layout = plotLayout({client.width(), client.height(), style.cell.width, style.cell.height,
                                          std::max(pen.width(labels.minimum), pen.width(labels.maximum))},
                                         static_cast<int>(entries.size()));
    drawLegend(painter, pen, layout, ring, entries, style);
    if (layout.hasArea()) drawAxes(painter, pen, layout, ring, labels, style);
    bool anyValid = false;
    for (std::size_t order = 0; order < entries.size(); ++order)
        anyValid = drawTrace(painter, layout, ring, entries[order], static_cast<int>(order)) || anyValid;
    return anyValid;
}

} // namespace korvel
