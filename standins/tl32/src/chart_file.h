// A chart file as the chart program uses it: its title, window, font and curves.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tl32 {

struct ChartCurve {
    unsigned number = 0; // of its "Section: Curve #n"
    std::string name;    // "data set:tag" as written
    std::string dataSet; // before the last ':'
    std::string tag;     // after it
    int type = 1;        // kPlainCurve or kCurveWithLimits
    std::string color;   // empty: the palette's
    int lineWidth = 2;
};

struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct Chart {
    std::string title;
    std::optional<WindowPlacement> placement; // when width and height are set
    std::string fontName;
    int timeSpanSeconds = 600;
    std::vector<ChartCurve> curves; // those with a usable "data set:tag" name
};

// An unreadable file gives an empty chart; curves without a usable name are left out.
Chart readChartFile(const std::string &path);

// The title of the chart program's windows, from tllocal.ini in the directory
// that "TLLocal Path" of infolink.ini names (empty or "Windows": programDirectory).
std::string applicationTitle(const std::string &infolinkPath, const std::string &programDirectory);

} // namespace tl32
