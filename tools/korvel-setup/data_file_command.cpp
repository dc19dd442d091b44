#include "data_file_command.h"

#include "instrument_edit.h"

#include "datafiles/trend_link_names.h"
#include "setup/dialog_text_limits.h"

namespace {

using namespace korvel;

// The options of one sub-dialog need its button to be enabled.
bool buttonEnabled(const DataFileConfigurationModel &file, DataFileControl button, const CommandWords &words,
                   std::initializer_list<const char *> options, const char *when) {
    for (const char *option : options) {
        if (words.has(option) && !file.enabled(button)) {
            failure(std::string(option) + " applies only " + when);
            return false;
        }
    }
    return true;
}

// "H:M" into two fields.
bool setHoursMinutes(BatchOptionsModel &batch, const std::string &text, BatchControl hours, BatchControl minutes) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    const std::string h = text.substr(0, colon);
    const std::string m = text.substr(colon + 1);
    if (!text_limit::fits(h, text_limit::kBatchHours) || !text_limit::fits(m, text_limit::kBatchMinutes)) return false;
    batch.setText(hours, h);
    batch.setText(minutes, m);
    return true;
}

int deadbands(DataFileConfigurationModel &file, const CommandWords &words) {
    if (!words.has("--deadband")) {
        return words.has("--deadband-channels") ? failure("--deadband-channels goes with --deadband") : 0;
    }
    DeadbandValuesModel deadband = file.deadband();
    std::vector<int> channels = deadband.channels();
    if (words.has("--deadband-channels")) {
        const auto chosen = parseChannelList(words.value("--deadband-channels"));
        if (!chosen) return failure("--deadband-channels takes channels such as 1-3,7");
        channels = *chosen;
    }
    deadband.select(channels);
    if (deadband.selection().size() != channels.size()) return failure("deadbands are for defined channels only");
    if (!fitsField(words, "--deadband", text_limit::kDeadbandValue)) return kFailed;
    deadband.setValueText(words.value("--deadband"));
    if (const auto refused = deadband.applyValue()) return refusedWith(*refused);
    file.acceptDeadband(deadband);
    return 0;
}

int rollover(DataFileConfigurationModel &file, const CommandWords &words) {
    if (!words.has("--rollover") && !words.has("--rollover-value") && !words.has("--low-disk") &&
        !words.has("--low-disk-action")) {
        return 0;
    }
    AutoRolloverModel rollover = file.autoRollover();
    if (words.has("--rollover")) {
        const std::string &mode = words.value("--rollover");
        const std::pair<const char *, RolloverMode> modes[] = {{"none", RolloverMode::None},
                                                               {"size", RolloverMode::FileSize},
                                                               {"interval", RolloverMode::TimeInterval},
                                                               {"hour", RolloverMode::HourOfDay}};
        const auto found =
            std::find_if(std::begin(modes), std::end(modes), [&](const auto &m) { return mode == m.first; });
        if (found == std::end(modes)) return failure("--rollover is none, size, interval or hour");
        rollover.chooseMode(found->second);
    }
    if (words.has("--rollover-value")) {
        const std::pair<RolloverMode, RolloverControl> fields[] = {
            {RolloverMode::FileSize, RolloverControl::FileSize},
            {RolloverMode::TimeInterval, RolloverControl::TimeInterval},
            {RolloverMode::HourOfDay, RolloverControl::HourOfDay}};
        const auto field = std::find_if(std::begin(fields), std::end(fields),
                                        [&](const auto &f) { return f.first == rollover.mode(); });
        if (field == std::end(fields)) return failure("--rollover-value needs a rollover by size, interval or hour");
        if (!fitsField(words, "--rollover-value", text_limit::kRolloverValue)) return kFailed;
        rollover.setText(field->second, words.value("--rollover-value"));
    }
    if (words.has("--low-disk")) {
        if (!fitsField(words, "--low-disk", text_limit::kRolloverValue)) return kFailed;
        rollover.setText(RolloverControl::FreeDiskSpace, words.value("--low-disk"));
    }
    if (words.has("--low-disk-action")) {
        const std::string &action = words.value("--low-disk-action");
        if (action != "stop" && action != "rollover") return failure("--low-disk-action is stop or rollover");
        rollover.setStopLogging(action == "stop");
    }
    if (const auto refused = rollover.accept()) return refusedWith(*refused);
    file.acceptAutoRollover(rollover);
    return 0;
}

int batches(DataFileConfigurationModel &file, const CommandWords &words) {
    const char *options[] = {"--batch", "--batch-name", "--batch-dio", "--batch-period", "--batch-start"};
    if (std::none_of(std::begin(options), std::end(options), [&](const char *option) { return words.has(option); })) {
        return 0;
    }
    BatchOptionsModel batch = file.batchOptions();
    using enum BatchControl;
    if (words.has("--batch")) {
        const std::string &definition = words.value("--batch");
        if (definition == "session")
            batch.chooseDefinition(BatchDefinition::Session);
        else if (definition == "dio")
            batch.chooseDefinition(BatchDefinition::DioLow);
        else if (definition == "period")
            batch.chooseDefinition(BatchDefinition::Periodic);
        else
            return failure("--batch is session, dio or period");
    }
    if (words.has("--batch-name")) {
        if (!fitsField(words, "--batch-name", text_limit::kBatchName)) return kFailed;
        batch.setText(Name, words.value("--batch-name"));
    }
    if (words.has("--batch-dio")) {
        if (!batch.enabled(DioLine)) return failure("--batch-dio applies only to --batch dio");
        const std::string &line = words.value("--batch-dio");
        if (line.size() != 1 || line[0] < '0' || line[0] > '7') return failure("--batch-dio is a line 0 to 7");
        batch.chooseDioLine(line[0] - '0');
    }
    if (words.has("--batch-period")) {
        if (!batch.enabled(PeriodHours)) return failure("--batch-period applies only to --batch period");
        if (!setHoursMinutes(batch, words.value("--batch-period"), PeriodHours, PeriodMinutes)) {
            return failure("--batch-period is HHH:MM");
        }
    }
    if (words.has("--batch-start")) {
        if (!batch.enabled(StartAtTime)) return failure("--batch-start applies only to --batch period");
        const std::string &start = words.value("--batch-start");
        batch.setStartAtTime(start != "off");
        if (start != "off" && !setHoursMinutes(batch, start, StartHours, StartMinutes)) {
            return failure("--batch-start is off or HH:MM");
        }
    }
    if (const auto refused = batch.accept()) return refusedWith(*refused);
    file.acceptBatchOptions(batch);
    return 0;
}

int fileSettings(DataFileConfigurationModel &file, const CommandWords &words) {
    if (words.has("--format")) {
        if (!file.enabled(DataFileControl::Format)) return failure("a Slave logs to its Master's data file");
        const auto format = matchChoice(words.value("--format"), DataFileConfigurationModel::formatItems());
        if (!format) return failure("the formats are " + joined(DataFileConfigurationModel::formatItems()));
        file.chooseFormat(*format);
    }
    const std::pair<const char *, DataFileControl> fields[] = {{"--path", DataFileControl::Path},
                                                               {"--comment", DataFileControl::Comment},
                                                               {"--mode", DataFileControl::Append}};
    for (const auto &[option, control] : fields) {
        if (words.has(option) && !file.enabled(control)) {
            return failure(std::string(option) + " applies only to a data file " +
                           (control == DataFileControl::Append ? "other than Trend Link" : "that is on"));
        }
    }
    if (!fitsField(words, "--path", text_limit::kDataFilePath) ||
        !fitsField(words, "--comment", text_limit::kDataFileComment)) {
        return kFailed;
    }
    if (words.has("--path")) file.setPath(words.value("--path"));
    if (words.has("--comment")) file.setComment(words.value("--comment"));
    if (words.has("--mode")) {
        const std::string &mode = words.value("--mode");
        if (mode != "append" && mode != "overwrite") return failure("--mode is append or overwrite");
        file.setOverwrite(mode == "overwrite");
    }
    return 0;
}

} // namespace

const std::vector<OptionForm> kSetDataFileOptions{
    {"--format"},         {"--path"},         {"--comment"},         {"--mode"},     {"--rollover"},
    {"--rollover-value"}, {"--low-disk"},     {"--low-disk-action"}, {"--batch"},    {"--batch-name"},
    {"--batch-dio"},      {"--batch-period"}, {"--batch-start"},     {"--deadband"}, {"--deadband-channels"}};

int setDataFile(SetupSession &session, const CommandWords &words) {
    const auto bcn = readBcn(words.positional[1]);
    if (!bcn) return kUsageError;
    auto edit = InstrumentEdit::open(session, *bcn);
    if (!edit) return kFailed;
    DataFileConfigurationModel file = edit->instrument().dataFile(session.instruments(), edit->slot());
    file.setTrendLinkDataSetOf(trendLinkDataSetOf);
    if (const int status = fileSettings(file, words)) return status;
    if (!buttonEnabled(file, DataFileControl::Deadband, words, {"--deadband", "--deadband-channels"},
                       "to a Trend Link data file") ||
        !buttonEnabled(file, DataFileControl::AutoRollover, words,
                       {"--rollover", "--rollover-value", "--low-disk", "--low-disk-action"},
                       "to a data file that is on") ||
        !buttonEnabled(file, DataFileControl::BatchOptions, words,
                       {"--batch", "--batch-name", "--batch-dio", "--batch-period", "--batch-start"},
                       "to a Trend Link data file")) {
        return kFailed;
    }
    if (const int status = deadbands(file, words)) return status;
    if (const int status = rollover(file, words)) return status;
    if (const int status = batches(file, words)) return status;
    if (!file.enabled(DataFileControl::Ok)) return failure("a data file needs a path (--path)");
    if (const auto refused = file.accept()) return refusedWith(*refused);
    edit->instrument().acceptDataFile(file);
    return edit->finish(outputPath(words, 2));
}
