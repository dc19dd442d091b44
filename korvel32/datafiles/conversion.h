// Converting a data file after logging: the source is read in chunks and
// each chunk turned into the target, with the share read shown and Abort
// looked at between chunks, so that the window (or the terminal) stays alive
// and logging goes on meanwhile. The kinds of conversion plug in as
// Conversion; the front end plugs in as ConversionProgress.
#pragma once

#include <string>
#include <string_view>

namespace korvel {

class UserInterface;

// How a piece of a conversion went.
enum class ConversionFlow {
    Continue,
    Stopped,     // the source was refused, and the user told why
    WriteFailed, // the target did not take what was written
};

// One kind of conversion: it creates its target and makes it from the
// source's bytes. It tells the user itself why it refuses a file.
class Conversion {
public:
    virtual ~Conversion() = default;

    // Creates the target; false, after saying why, when it cannot.
    virtual bool createTarget() = 0;
    // The next bytes of the source.
    virtual ConversionFlow convert(std::string_view bytes) = 0;
    // The source has ended.
    virtual ConversionFlow finish() = 0;
    // Closes the target with what was made of it; false when that could not
    // be stored.
    virtual bool closeTarget() = 0;
};

// The front end while a conversion runs.
class ConversionProgress {
public:
    virtual ~ConversionProgress() = default;

    // The files are open: the main window takes no input from here on.
    virtual void begin() = 0;
    // The share of the source converted grew to percent (0 to 100).
    virtual void showPercent(int percent) = 0;
    // Between chunks: lets the front end's events run; true when the user
    // asked to abort.
    virtual bool abortRequested() = 0;
    // The files are closed: the progress goes and input comes back.
    virtual void end() = 0;
};

enum class ConversionOutcome {
    Complete,    // "Conversion is complete!"
    WriteFailed, // "Unable to Write to Data File!"
    Refused,     // a file could not be opened or created, or was not valid
    Aborted,     // the partial target stays, and nothing is said
};

// The progress line: "Converting File:  42%".
std::string convertingFileText(int percent);

// Opens the source (others may read it while it is converted, but no one
// write it), lets the conversion create the target, and converts chunk after
// chunk to the end of the source, an Abort or the first failure. Every
// message goes to ui, the final one after progress.end().
ConversionOutcome runConversion(const std::string &sourcePath, Conversion &conversion, UserInterface &ui,
                                ConversionProgress &progress);

} // namespace korvel
