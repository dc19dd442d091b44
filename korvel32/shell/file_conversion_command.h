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

class FileConversionCommand {
public:
    // What the context names (the logger's formats, user interface and
    // Trend Link) must outlive the command.
    FileConversionCommand(QMainWindow &window, const ConversionContext &context, FileChooser chooser);

    void run(ConversionKind kind);

    ConversionOutcome convert(ConversionKind kind, const ConversionFiles &files);

private:
    QMainWindow &window_;
    ConversionContext context_;
    FileChooser chooser_;
};

} // namespace korvel
