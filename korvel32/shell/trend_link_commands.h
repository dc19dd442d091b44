// The main window's side of Trend Link: the Trend Link Directory dialog,
// Show Trend Link (the chart window of the selected instrument's data set
// brought forward, or the chart program started on it), and what the
// Trend Link output asks of the windows (another directory after a failed
// load, the screen the charts are sized for).
#pragma once

#include "datafiles/trend_link_interface.h"
#include "platform/user_interface.h"

class QWidget;

namespace korvel {

// Lets the Trend Link output ask the user for its directory and size its charts.
void connectTrendLinkToWindows(TrendLinkInterface &trendLink, QWidget *parent);

// The dialog editing TLDIR; OK writes it to korvel32.ini.
void editTrendLinkDirectory(TrendLinkInterface &trendLink, UserInterface &ui, QWidget *parent);

// file: the data file setup of the selected instrument (a Slave's Master's),
// or nullptr. While it looks, the window is disabled under the busy cursor.
void showTrendLink(const TrendLinkInterface &trendLink, const DataFileSetup *file, UserInterface &ui, QWidget *window);

} // namespace korvel
