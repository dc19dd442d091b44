#include "datafiles/trend_link_chart.h"

#include "datafiles/trend_link_names.h"
#include "platform/file_descriptor.h"
#include "platform/file_exists.h"
#include "platform/ini_profile.h"
#include "platform/string_table.h"
#include "setup/text_format.h"

#include <chart_keys.h>

#include <cstdio>
#include <filesystem>
#include <string_view>

#include <strings.h>

#include <fcntl.h>
#include <unistd.h>

namespace korvel {
namespace {

constexpr std::size_t kCopyPiece = 1024;
constexpr std::size_t kValueBufferSize = 256;
constexpr std::size_t kPathBufferSize = 260;
constexpr char kWindowsDirectory[] = "Windows";

// The copy never replaces a chart that appeared meanwhile; a copy cut short
// goes again, so that the next start makes it anew.
ChartFileResult copyTemplate(const std::string &templatePath, const std::string &path) {
    const FileDescriptor source(::open(templatePath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.valid()) return ChartFileResult::TemplateUnreadable;
    FileDescriptor target(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!target.valid()) return ChartFileResult::NotCreatable;
    char piece[kCopyPiece];
    for (;;) {
        const ssize_t read = ::read(source.get(), piece, sizeof piece);
        if (read == 0) break;
        const bool failed =
            read < 0 || writeAll(target.get(), std::string_view(piece, static_cast<std::size_t>(read))) !=
                            static_cast<std::size_t>(read);
        if (failed) {
            target.close();
            std::remove(path.c_str());
            return read < 0 ? ChartFileResult::TemplateUnreadable : ChartFileResult::NotCreatable;
        }
    }
    return target.close() ? ChartFileResult::Ready : ChartFileResult::NotCreatable;
}

class ChartWriter {
public:
    explicit ChartWriter(const std::string &path) : path_(path) {}

    void set(std::string_view section, std::string_view key, const std::string &value) {
        if (!writeProfileString(path_, section, key, value)) failed_ = true;
    }
    bool failed() const { return failed_; }

private:
    const std::string &path_;
    bool failed_ = false;
};

void placeWindow(ChartWriter &chart, const ScreenSize &screen) {
    chart.set(tl32::kMainSection, tl32::kWindowYKey, std::to_string(screen.height / 3));
    chart.set(tl32::kMainSection, tl32::kWindowWidthKey, std::to_string(screen.width));
    chart.set(tl32::kMainSection, tl32::kWindowHeightKey, std::to_string(screen.height * 2 / 3));
}

// The chart program's font, key by key as long as each is found.
void copyFont(ChartWriter &chart, const std::string &settingsPath) {
    for (const char *key : {tl32::kFontNameKey, tl32::kFontFamilyKey, tl32::kFontCharacterSetKey}) {
        const std::string value = readProfileString(settingsPath, tl32::kLocalMainSection, key, "", kValueBufferSize);
        if (value.empty()) return;
        chart.set(tl32::kMainSection, key, value);
    }
}

// Each curve takes every key of the template's first curve, with its own name.
void writeCurves(ChartWriter &chart, const std::string &templatePath, const std::vector<ChartCurve> &curves) {
    char firstCurve[64];
    std::snprintf(firstCurve, sizeof firstCurve, tl32::kCurveSectionFormat, 1u);
    const std::vector<std::string> keys = readProfileKeys(templatePath, firstCurve);
    unsigned number = 0;
    for (const ChartCurve &curve : curves) {
        if (number == kChartCurves) break;
        char section[64];
        std::snprintf(section, sizeof section, tl32::kCurveSectionFormat, ++number);
        for (const std::string &key : keys) {
            if (key == tl32::kCurveNameKey) continue;
            chart.set(section, key, readProfileString(templatePath, firstCurve, key, "", kValueBufferSize));
        }
        chart.set(section, tl32::kCurveNameKey, curve.name);
        if (curve.withLimits) chart.set(section, tl32::kCurveTypeKey, std::to_string(tl32::kCurveWithLimits));
    }
    chart.set(tl32::kCurveWindowSection, tl32::kNumberOfCurvesKey, std::to_string(number));
}

} // namespace

ChartFileResult prepareChartFile(const ChartFileRequest &request) {
    const bool made = !fileExists(request.path);
    if (made) {
        const ChartFileResult copied = copyTemplate(request.templatePath, request.path);
        if (copied != ChartFileResult::Ready) return copied;
    }
    ChartWriter chart(request.path);
    chart.set(tl32::kMainSection, tl32::kTitleKey, request.title);
    if (request.screen) placeWindow(chart, *request.screen);
    copyFont(chart, request.chartProgramSettingsPath);
    if (made) writeCurves(chart, request.templatePath, request.curves);
    return chart.failed() ? ChartFileResult::NotCreatable : ChartFileResult::Ready;
}

ChartFileRequest chartFileRequest(TrendLinkInterface &trendLink, const std::string &dataFilePath,
                                  const std::string &title) {
    std::string infolink;
    trendLink.library().getInfolinkPath(infolink);
    std::string chartProgramDirectory =
        readProfileString(infolink, tl32::kInfolinkSettingsSection, tl32::kLocalPathKey, "", kPathBufferSize);
    if (chartProgramDirectory.empty() || ::strcasecmp(chartProgramDirectory.c_str(), kWindowsDirectory) == 0)
        chartProgramDirectory = trendLink.directory();
    return {chartFilePath(dataFilePath),
            (std::filesystem::path(trendLink.paths().programDirectory) / kChartTemplateFile).string(),
            title,
            trendLink.screenSize(),
            (std::filesystem::path(chartProgramDirectory) / kChartProgramSettingsFile).string(),
            {}};
}

bool chartFileMade(TrendLinkInterface &trendLink, const ChartFileRequest &request) {
    switch (prepareChartFile(request)) {
        case ChartFileResult::Ready: return true;
        case ChartFileResult::TemplateUnreadable:
            trendLink.showMessage(resourceString(message::kTrendLinkTemplateUnreadable));
            return false;
        case ChartFileResult::NotCreatable: break;
    }
    trendLink.showMessage(filledIn(resourceString(message::kTrendLinkChartFailed), "%s", {request.path}));
    return false;
}

} // namespace korvel
