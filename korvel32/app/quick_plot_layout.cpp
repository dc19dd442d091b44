#include "app/quick_plot_layout.h"

#include "setup/dialog_numbers.h"

#include <array>

namespace korvel {

namespace {

constexpr int kLegendSpareLines = 2;
constexpr int kEmptyLegendLines = 3;

constexpr std::array<PlotColour, kPlotChannels> kTraceColours{{
    {0, 0, 0},       // black
    {255, 0, 0},     // red
    {0, 0, 255},     // blue
    {255, 0, 255},   // magenta
    {0, 128, 0},     // green
    {128, 128, 128}, // grey
    {0, 128, 128},   // teal
    {128, 0, 0},     // maroon
}};

constexpr PlotPoint kSquare[] = {{2, 2}, {2, -2}, {-2, -2}, {-2, 2}};
constexpr PlotPoint kDiagonalCross[] = {{0, 1},  {2, 3},   {3, 2},   {1, 0},  {3, -2}, {2, -3},
                                        {0, -1}, {-2, -3}, {-3, -2}, {-1, 0}, {-3, 2}, {-2, 3}};
constexpr PlotPoint kDiamond[] = {{0, 3}, {3, 0}, {0, -3}, {-3, 0}};
constexpr PlotPoint kTriangle[] = {{0, 3}, {3, -2}, {-3, -2}};
constexpr PlotPoint kUprightBar[] = {{-1, 3}, {1, 3}, {1, -3}, {-1, -3}};
constexpr PlotPoint kStar[] = {{0, 3}, {1, 1}, {3, 1}, {1, -1}, {2, -3}, {0, -1}, {-2, -3}, {-1, -1}, {-3, 1}, {-1, 1}};
constexpr PlotPoint kInvertedTriangle[] = {{3, 2}, {0, -3}, {-3, 2}};
constexpr PlotPoint kPlus[] = {{-1, 3}, {1, 3},   {1, 1},   {3, 1},   {3, -1}, {1, -1},
                               {1, -3}, {-1, -3}, {-1, -1}, {-3, -1}, {-3, 1}, {-1, 1}};
constexpr std::array<std::span<const PlotPoint>, kPlotChannels> kMarkers{
    kSquare, kDiagonalCross, kDiamond, kTriangle, kUprightBar, kStar, kInvertedTriangle, kPlus};

constexpr PlotPoint kArrowUp[] = {{0, 0}, {4, -4}, {1, -4}, {1, -12}, {-1, -12}, {-1, -4}, {-4, -4}};
constexpr PlotPoint kArrowDown[] = {{0, 0}, {-4, 4}, {-1, 4}, {-1, 12}, {1, 12}, {1, 4}, {4, 4}};

constexpr double kZeroLowest = 0.1;
constexpr double kZeroHighest = 0.9;
constexpr int kZeroTickLines = 3;

} // namespace

PlotLayout plotLayout(const PlotMeasures &measures, int channelCount) {
    const int w = measures.charWidth;
    const int h = measures.lineHeight;
    const int legendHeight = channelCount == 0 ? h * kEmptyLegendLines : h * (channelCount + kLegendSpareLines);
    PlotLayout layout;
    layout.charWidth = w;
    layout.lineHeight = h;
    layout.left = measures.labelWidth + w;
    layout.right = measures.width - 2 * w;
    layout.top = h;
    layout.bottom = measures.height - h / 2 - legendHeight;
    if (measures.width - measures.labelWidth - 3 * w < 0) layout.right = layout.left;
    if (layout.bottom - layout.top < 0) layout.bottom = layout.top;
    layout.legendTop = measures.height + h / 2 - legendHeight;
    return layout;
}

PlotPoint PlotLayout::samplePoint(int stepIndex, std::int16_t level) const {
    const int x = left + stepIndex * step();
    if (level == kAbovePlot) return {x, top};
    if (level == kBelowPlot) return {x, bottom};
    return {x, bottom - static_cast<int>(static_cast<long>(level) * (bottom - top) / kTopLevel)};
}

std::string plotLabel(float value, char decimalSymbol) { return gText(value, decimalSymbol); }

int zeroTickY(const PlotLayout &layout, float minimum, float maximum) {
    const double range = static_cast<double>(maximum) - minimum;
    if (range <= 0 || !layout.hasArea() || layout.bottom - layout.top <= kZeroTickLines * layout.lineHeight) return -1;
    const double share = -static_cast<double>(minimum) / range;
    if (share <= kZeroLowest || share >= kZeroHighest) return -1;
    return layout.samplePoint(0, plotLevel(0.0F, minimum, maximum)).y;
}

PlotColour traceColour(int order) { return kTraceColours[static_cast<std::size_t>(order) % kTraceColours.size()]; }

std::span<const PlotPoint> markerShape(int order) {
    return kMarkers[static_cast<std::size_t>(order) % kMarkers.size()];
}

std::span<const PlotPoint> arrowShape(std::int16_t level) {
    if (level == kBelowPlot) return kArrowDown;
    return kArrowUp;
}

} // namespace korvel
