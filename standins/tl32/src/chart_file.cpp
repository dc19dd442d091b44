#include "chart_file.h"

#include <cstdio>

#include "chart_keys.h"
#include "platform/ini_profile.h"

namespace tl32 {
namespace {

constexpr std::size_t kTextLimit = 256;
constexpr int kMostCurves = 64;

std::string text(const std::string &path, const char *section, const char *key) {
    return korvel::readProfileString(path, section, key, "", kTextLimit);
}

std::optional<ChartCurve> readCurve(const std::string &path, unsigned number) {
    char section[64];
    std::snprintf(section, sizeof section, kCurveSectionFormat, number);
    ChartCurve curve;
    curve.number = number;
    curve.name = text(path, section, kCurveNameKey);
    const std::size_t colon = curve.name.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == curve.name.size()) return std::nullopt;
    curve.dataSet = curve.name.substr(0, colon);
    curve.tag = curve.name.substr(colon + 1);
    curve.type = korvel::readProfileInt(path, section, kCurveTypeKey, kPlainCurve);
    curve.color = text(path, section, kCurveColorKey);
    curve.lineWidth = korvel::readProfileInt(path, section, kCurveLineWidthKey, 2);
    return curve;
}

} // namespace

Chart readChartFile(const std::string &path) {
    Chart chart;
    chart.title = text(path, kMainSection, kTitleKey);
    chart.fontName = text(path, kMainSection, kFontNameKey);
    const WindowPlacement placement{korvel::readProfileInt(path, kMainSection, kWindowXKey, 0),
                                    korvel::readProfileInt(path, kMainSection, kWindowYKey, 0),
                                    korvel::readProfileInt(path, kMainSection, kWindowWidthKey, 0),
                                    korvel::readProfileInt(path, kMainSection, kWindowHeightKey, 0)};
    if (placement.width > 0 && placement.height > 0) chart.placement = placement;
    const int span = korvel::readProfileInt(path, kCurveWindowSection, kTimeSpanKey, chart.timeSpanSeconds);
    if (span > 0) chart.timeSpanSeconds = span;
    const int count = korvel::readProfileInt(path, kCurveWindowSection, kNumberOfCurvesKey, 0);
    for (int number = 1; number <= count && number <= kMostCurves; ++number)
        if (auto curve = readCurve(path, static_cast<unsigned>(number))) chart.curves.push_back(std::move(*curve));
    return chart;
}

std::string applicationTitle(const std::string &infolinkPath, const std::string &programDirectory) {
    std::string directory = text(infolinkPath, kInfolinkSettingsSection, kLocalPathKey);
    if (directory.empty() || directory == "Windows") directory = programDirectory;
    return korvel::readProfileString(directory + "/tllocal.ini", kLocalMainSection, kApplicationTitleKey,
                                     kDefaultApplicationTitle, kTextLimit);
}

} // namespace tl32
