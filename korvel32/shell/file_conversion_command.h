// The Utilities conversions as the main window runs them: the conversion's
// dialog, and for each Convert the conversion itself on this thread, with
// the main window taking no input, "Converting File:  n%" in the progress
// window and its Abort working; then the dialog again until it is closed.
// Logging goes on meanwhile: the window's events, timers included, run
// between the chunks.
#pragma once

#include "datafiles/file_conversions.h"
#include "shell/conversion_dialog.h"

class QMainWindow;

namespace korvel {

struct RegionalFormats;
class UserInterface;

class FileConversionCommand {
public:
    // The formats are the logger's, read when a conversion starts, so they
    // must outlive the command.
    FileConversionCommand(QMainWindow &window, UserInterface &ui, const RegionalFormats &formats, FileChooser chooser);
    FileConversionCommand(QMainWindow &, UserInterface &, RegionalFormats &&, FileChooser) = delete;

    void run(ConversionKind kind);

    ConversionOutcome convert(ConversionKind kind, const ConversionFiles &files);

private:
    QMainWindow &window_;
    UserInterface &ui_;
    const RegionalFormats &formats_;
    FileChooser chooser_;
};

} // namespace korvel
