// Where the setup view puts the prepared strings of the configuration report,
// in content coordinates (before scrolling), measured in character cells.
#pragma once

#include "config_view_metrics.h"
#include "setup/configuration_report.h"

class QPainter;

namespace korvel {

constexpr int kContentColumns = 113;    // scroll width of both panes
constexpr int kUpperPaneHalfLines = 23; // scroll height of the upper pane
constexpr int kChannelLinesTop = 3;     // half-lines: the lines start under the column header
constexpr int kColumnHeaderColumns = 120;
constexpr int kColumnHeaderHalfLines = 3;

// Upper pane without an instrument: how to begin.
void drawHint(QPainter &painter, const ConfigViewStyle &style);

// Upper pane: the title and the fourteen label/value pairs. The title moves
// left when the setup has a Master, because it then carries the group role.
void drawInstrumentSettings(QPainter &painter, const ConfigViewStyle &style, const ConfigurationReport &report,
                            bool masterExists);

// Lower pane: one line per defined channel, in channel order.
void drawChannelLines(QPainter &painter, const ConfigViewStyle &style, const ConfigurationReport &report);

// The channel whose line lies at y (content coordinates), 0 when none does.
int channelAtLine(const CharacterCell &cell, const ConfigurationReport &report, int y);

// The column texts over the channel lines, with a rule under them.
void drawColumnHeader(QPainter &painter, const ConfigViewStyle &style, const ReportRow &headings);

} // namespace korvel
