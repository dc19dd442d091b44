// The Data File Configuration dialog: the data file's format, path, comment
// and mode, its sub-dialogs (Deadband Values, Auto Rollover, Batch Options),
// and the checks of its OK. A Slave writes no file of its own: it shows its
// Master's settings and changes only its channels' deadbands.
#pragma once

#include "platform/user_interface.h"
#include "setup/auto_rollover_rules.h"
#include "setup/batch_options_rules.h"
#include "setup/deadband_rules.h"
#include "setup/file_dialogs.h"

#include <functional>
#include <string>
#include <vector>

namespace korvel {

enum class DataFileControl {
    Format,
    Path,
    SelectFile,
    Comment,
    Append,
    Overwrite,
    AutoRollover,
    Deadband,
    BatchOptions,
    Ok,
};

// Whether a path names a share of another machine (\\server or //server):
// Trend Link keeps its data sets on local disks only.
bool uncPath(const std::string &path);

// The Trend Link data set a path resolves to. Two instruments whose paths
// differ but name one data set are refused like two equal paths.
using TrendLinkDataSetOf = std::function<std::string(const std::string &path)>;

class DataFileConfigurationModel {
public:
    // The other in-use instruments of the table are those the path is
    // checked against.
    DataFileConfigurationModel(const InstrumentSetup &working, const InstrumentTable &table, int slot,
                               const InstrumentIdentity &identity, char decimalSymbol);

    std::string caption() const;

    static std::vector<std::string> formatItems(); // "None", "Fast Binary", "ASCII (CSV)", "Trend Link"
    int formatIndex() const;
    // A format enables the data file and gives a path ending in ".bin",
    // ".csv" or ".set" the format's own extension; "None" disables it.
    void chooseFormat(int index);

    const std::string &path() const { return file_.path; }
    void setPath(std::string path) { file_.path = std::move(path); }
    FileDialogTexts selectFileDialog() const { return dataFileDialog(identity_.bcn, file_.format); }
    const std::string &comment() const { return file_.comment; }
    void setComment(std::string text) { file_.comment = std::move(text); }
    bool overwrite() const { return file_.mode == FileMode::Overwrite; }
    void setOverwrite(bool on) { file_.mode = on ? FileMode::Overwrite : FileMode::Append; }

    bool enabled(DataFileControl control) const;

    DeadbandValuesModel deadband() const;
    void acceptDeadband(const DeadbandValuesModel &accepted);
    AutoRolloverModel autoRollover() const;
    void acceptAutoRollover(const AutoRolloverModel &accepted);
    BatchOptionsModel batchOptions() const;
    void acceptBatchOptions(const BatchOptionsModel &accepted);

    // Where Trend Link output can tell data sets apart, it says here.
    void setTrendLinkDataSetOf(TrendLinkDataSetOf dataSetOf) { dataSetOf_ = std::move(dataSetOf); }

    // Call while OK is enabled. No other in-use instrument may write to the
    // same path, or for Trend Link to the same data set (44, naming that
    // instrument); Trend Link refuses paths beginning "\\" or "//" (2104).
    Checked<DataFileControl> accept();
    // Cancel after a sub-dialog was accepted asks first (2101).
    bool mayCancel(UserInterface &ui) const;

    // The accepted settings into the working copy; a Slave's file stays as it is.
    void applyTo(InstrumentSetup &working) const;

private:
    struct OtherFile {
        unsigned bcn = 0;
        std::string path;
        FileFormat format = FileFormat::Ascii;
    };
    std::optional<unsigned> instrumentWithSamePath() const;

    InstrumentIdentity identity_;
    char decimalSymbol_;
    InstrumentSetup setup_;
    DataFileSetup file_;
    std::vector<OtherFile> others_;
    TrendLinkDataSetOf dataSetOf_;
    bool subDialogAccepted_ = false;
};

} // namespace korvel
