// The chart file of a data set group, for the chart program: made from the
// template tldef.cht when it does not exist yet, titled with the data file's
// comment, sized to the screen, in the chart program's font, and, when new,
// with a curve for each of the first four channels.
#pragma once

#include "datafiles/trend_link_interface.h"

#include <string>
#include <vector>

namespace korvel {

inline constexpr char kChartTemplateFile[] = "tldef.cht";
inline constexpr char kChartProgramSettingsFile[] = "tllocal.ini";
inline constexpr std::size_t kChartCurves = 4;

struct ChartCurve {
    std::string name;        // "data set:tag"
    bool withLimits = false; // the channel has an alarm: its limits are drawn too
};

struct ChartFileRequest {
    std::string path;
    std::string templatePath;
    std::string title;
    std::optional<ScreenSize> screen;
    std::string chartProgramSettingsPath; // tllocal.ini
    std::vector<ChartCurve> curves;       // at most kChartCurves are drawn
};

enum class ChartFileResult {
    Ready,
    TemplateUnreadable, // message 1382
    NotCreatable,       // message 1383
};

ChartFileResult prepareChartFile(const ChartFileRequest &request);

// The request for the chart of a data-file path, titled and placed on the
// screen, in the chart program's font (tllocal.ini, where infolink.ini says
// it lies); its curves are the caller's to add.
ChartFileRequest chartFileRequest(TrendLinkInterface &trendLink, const std::string &dataFilePath,
                                  const std::string &title);

// Prepares the chart; false when it cannot, after telling the user (1382, 1383).
bool chartFileMade(TrendLinkInterface &trendLink, const ChartFileRequest &request);

} // namespace korvel
