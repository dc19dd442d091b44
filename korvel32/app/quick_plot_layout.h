// Where Quick Plot draws: the plot area, the legend, the Y axis labels, the
// ticks, the place of each sample, the trace colours and the marker shapes.
// Positions are in the window's pixels with y growing downward; shapes are
// given as the offsets of their corners with y growing upward, as drawn.
#pragma once

#include "app/quick_plot_ring.h"

#include <cstdint>
#include <span>
#include <string>

namespace korvel {

inline constexpr const char *kNoPlotChannels = "No Plot Channels Selected";
inline constexpr int kPlotTicks = kPlotPositions - 1;

struct PlotPoint {
    int x = 0;
    int y = 0;

    bool operator==(const PlotPoint &) const = default;
};

struct PlotColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const PlotColour &) const = default;
};

// The window's measures: its client size, the main window font's average
// character width and line height, and the width of the wider Y label.
struct PlotMeasures {
    int width = 0;
    int height = 0;
    int charWidth = 1;
    int lineHeight = 1;
    int labelWidth = 0;
};

struct PlotLayout {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int legendTop = 0; // the legend's first line
    int lineHeight = 1;
    int charWidth = 1;

    bool hasArea() const { return right > left && bottom > top; }
    // The spacing of the X axis ticks and of the samples.
    int step() const { return (right - left) / kPlotTicks; }
    // The sample step places after the oldest, at this level.
    PlotPoint samplePoint(int step, std::int16_t level) const;
};

// channelCount: the plot's non-empty entries.
PlotLayout plotLayout(const PlotMeasures &measures, int channelCount);

// The Y labels: "%g" with the regional decimal symbol.
std::string plotLabel(float value, char decimalSymbol);

// The zero line's height when it deserves a tick: zero lies strictly between
// 10 % and 90 % of the range and the plot is taller than three lines; -1
// otherwise.
int zeroTickY(const PlotLayout &layout, float minimum, float maximum);

// The colour and marker of the trace of the nth non-empty entry (0 first).
PlotColour traceColour(int order);
std::span<const PlotPoint> markerShape(int order);
// The arrow of a sample above the plot (pointing up, tip at the top edge)
// and below it (pointing down, tip at the bottom edge).
std::span<const PlotPoint> arrowShape(std::int16_t level);

} // namespace korvel
