// Quick Plot's picture: white ground, the Y axis with its labels and the zero
// tick, the 39 ticks of the X axis, one trace per channel with a marker per
// sample (an arrow for a sample off the plot), and the legend with each
// channel's newest reading and units, red while the channel is in alarm.
#pragma once

#include "app/quick_plot_ring.h"
#include "shell/config_view_metrics.h"

#include <QColor>
#include <QFont>
#include <QSize>

class QPainter;

namespace korvel {

struct QuickPlotStyle {
    QFont font;         // the main window's
    CharacterCell cell; // of that font
    QColor text;        // the window-text colour of texts and axes
    char decimalSymbol = '.';
};

// Draws the client area; true when it holds a valid sample.
bool drawQuickPlot(QPainter &painter, QSize client, const QuickPlotRing &ring, const QuickPlotStyle &style);

} // namespace korvel
