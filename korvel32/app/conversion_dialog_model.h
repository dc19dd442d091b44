// The dialogs of the Utilities menu's conversions: their captions, the file
// dialogs that choose the source and the target, the names they show and
// when Convert may be pressed.
#pragma once

#include "datafiles/file_conversions.h"
#include "setup/file_dialogs.h"

#include <string>

namespace korvel {

struct ConversionDialogTexts {
    std::string caption;
    FileDialogTexts source; // an open dialog: the file must exist
    FileDialogTexts target; // a save dialog that asks before replacing a file
};

ConversionDialogTexts conversionDialogTexts(ConversionKind kind);

class ConversionDialogModel {
public:
    explicit ConversionDialogModel(ConversionKind kind);

    const ConversionDialogTexts &texts() const { return texts_; }

    // A file dialog that was cancelled (an empty path) keeps the choice.
    void chooseSource(const std::string &path);
    void chooseTarget(const std::string &path);

    // "None" until chosen.
    std::string sourceText() const;
    std::string targetText() const;

    // The name the target's dialog proposes: the one chosen before, else the
    // source's with the target's extension.
    std::string proposedTarget() const;

    bool convertEnabled() const { return !files_.source.empty() && !files_.target.empty(); }
    const ConversionFiles &files() const { return files_; }

private:
    ConversionDialogTexts texts_;
    ConversionFiles files_;
};

} // namespace korvel
