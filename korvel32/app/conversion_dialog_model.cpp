#include "app/conversion_dialog_model.h"

#include <filesystem>

namespace korvel {
namespace {

constexpr const char *kNone = "None";

FileDialogTexts openDialog(const char *title, const char *filter, const char *extension) {
    return {title, filter, extension, true, false};
}

FileDialogTexts saveDialog(const char *title, const char *filter, const char *extension) {
    return {title, filter, extension, false, true};
}

const FileDialogTexts kBinaryFiles = openDialog("Binary File Selection", kBinaryFilesFilter, "bin");
const FileDialogTexts kAsciiSources = openDialog("ASCII File Selection", kAsciiFilesFilter, "csv");
const FileDialogTexts kAsciiTargets = saveDialog("ASCII File Selection", kAsciiFilesFilter, "csv");
const FileDialogTexts kTextTargets = saveDialog("Text File Selection", kTextFilesFilter, "txt");
const FileDialogTexts kTrendLinkTargets = saveDialog("Trend Link File Selection", kTrendLinkFilesFilter, "set");

std::string shown(const std::string &path) { return path.empty() ? kNone : path; }

} // namespace

ConversionDialogTexts conversionDialogTexts(ConversionKind kind) {
    switch (kind) {
        case ConversionKind::BinaryToAscii: return {"Binary to ASCII Conversion", kBinaryFiles, kAsciiTargets};
        case ConversionKind::AsciiTimestamps:
            return {"ASCII to Text Timestamp Conversion", kAsciiSources, kTextTargets};
        case ConversionKind::BinaryToTrendLink:
            return {"Binary to Trend Link Conversion", kBinaryFiles, kTrendLinkTargets};
    }
    return {};
}

ConversionDialogModel::ConversionDialogModel(ConversionKind kind) : texts_(conversionDialogTexts(kind)) {}

void ConversionDialogModel::chooseSource(const std::string &path) {
    if (!path.empty()) files_.source = path;
}

void ConversionDialogModel::chooseTarget(const std::string &path) {
    if (!path.empty()) files_.target = path;
}

std::string ConversionDialogModel::sourceText() const { return shown(files_.source); }

std::string ConversionDialogModel::targetText() const { return shown(files_.target); }

std::string ConversionDialogModel::proposedTarget() const {
    if (!files_.target.empty() || files_.source.empty()) return files_.target;
    return std::filesystem::path(files_.source).replace_extension(texts_.target.defaultExtension).string();
}

} // namespace korvel
