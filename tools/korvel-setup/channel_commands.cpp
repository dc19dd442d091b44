#include "channel_commands.h"

#include "instrument_edit.h"

#include "link/instrument_link.h"
#include "setup/dialog_text_limits.h"

namespace {

using namespace korvel;

// The channel numbers of the third word, in the list they belong to: the
// dialog selects in one list at a time.
bool selectChannels(ChannelsConfigurationModel &channels, const std::string &text) {
    const auto list = parseChannelList(text);
    if (!list) {
        failure("channels are given as numbers and ranges from 1 to 30, such as 1-3,7");
        return false;
    }
    const bool computed = isComputedChannel(list->front());
    if (std::any_of(list->begin(), list->end(),
                    [computed](int channel) { return isComputedChannel(channel) != computed; })) {
        failure("channels 1-20 and 21-30 are configured apart");
        return false;
    }
    if (computed) {
        channels.selectComputed(*list);
    } else {
        channels.selectAnalog(*list);
    }
    return true;
}

int doesNotApply(const std::string &option, const std::string &what) {
    return failure(option + " does not apply to " + what);
}

// A text option for a field of a dialog, given only where the field is enabled.
template <typename Model, typename Control>
bool setField(Model &model, const CommandWords &words, const char *option, Control control,
              void (Model::*set)(std::string), const std::string &what) {
    if (!words.has(option)) return true;
    if (!model.enabled(control)) {
        doesNotApply(option, what);
        return false;
    }
    (model.*set)(words.value(option));
    return true;
}

int setAnalogFunction(ChannelsConfigurationModel &channels, const CommandWords &words) {
    FunctionSelectionModel selection = channels.functionSelection();
    const auto function = matchChoice(words.positional[3], selection.functionItems());
    if (!function) return failure("the functions of channels 1-20 are " + joined(selection.functionItems()));
    selection.chooseFunction(*function);
    const std::string what = selection.functionItems()[static_cast<std::size_t>(*function)];
    for (const char *option : {"--average", "--chan-a", "--chan-b"}) {
        if (words.has(option)) return doesNotApply(option, what);
    }
    if (words.has("--range")) {
        if (!selection.enabled(FunctionControl::Range)) return doesNotApply("--range", what);
        const auto range = matchChoice(words.value("--range"), selection.rangeItems());
        if (!range) return failure("the ranges of " + what + " are " + joined(selection.rangeItems()));
        selection.chooseRange(*range);
    }
    using Model = FunctionSelectionModel;
    if (!setField(selection, words, "--r0", FunctionControl::R0, &Model::setR0Text, what) ||
        !setField(selection, words, "--alpha", FunctionControl::Alpha, &Model::setAlphaText,
                  what + " with this range") ||
        !setField(selection, words, "--shunt", FunctionControl::Shunt, &Model::setShuntText, what) ||
        !setField(selection, words, "--units", FunctionControl::UnitsLabel, &Model::setUnitsLabel, what)) {
        return kFailed;
    }
    if (words.has("--otc")) {
        if (!selection.enabled(FunctionControl::OpenTcDetect)) return doesNotApply("--otc", what);
        const auto on = parseSwitch(words.value("--otc"));
        if (!on) return failure("--otc is on or off");
        selection.setOpenTcDetect(*on);
    }
    if (const auto refused = selection.accept()) return refusedWith(*refused);
    if (const auto refused = channels.applyFunction(selection.result())) return refusedWith(*refused);
    return 0;
}

int setComputedFunction(ChannelsConfigurationModel &channels, const CommandWords &words) {
    ComputedFunctionModel computed = channels.computedFunction();
    const auto function = matchChoice(words.positional[3], computed.functionItems());
    if (!function) return failure("the functions of channels 21-30 are " + joined(computed.functionItems()));
    computed.chooseFunction(*function);
    const std::string what = computed.functionItems()[static_cast<std::size_t>(*function)];
    if (computed.enabled(ComputedFunctionControl::Equation)) return failure("an Equation is set with set-equation");
    for (const char *option : {"--range", "--r0", "--alpha", "--shunt", "--otc"}) {
        if (words.has(option)) return doesNotApply(option, "channels 21-30");
    }
    if (words.has("--average")) {
        if (!computed.enabled(ComputedFunctionControl::GroupAverage)) return doesNotApply("--average", what);
        const auto averaged = parseChannelList(words.value("--average"));
        if (!averaged) return failure("--average takes channels such as 1-3,7");
        for (int channel = 1; channel <= kChannelCount; ++channel) computed.setAveraged(channel, false);
        for (const int channel : *averaged) computed.setAveraged(channel, true);
    }
    for (const auto &[option, control] : {std::pair{"--chan-a", ComputedFunctionControl::ChannelA},
                                          std::pair{"--chan-b", ComputedFunctionControl::ChannelB}}) {
        if (!words.has(option)) continue;
        if (!computed.enabled(control)) return doesNotApply(option, what);
        const auto channel = parseChannelList(words.value(option));
        if (!channel || channel->size() != 1) return failure(std::string(option) + " takes one channel, 1 to 30");
        if (control == ComputedFunctionControl::ChannelA) computed.chooseChannelA(channel->front());
        if (control == ComputedFunctionControl::ChannelB) computed.chooseChannelB(channel->front());
    }
    if (!setField(computed, words, "--units", ComputedFunctionControl::UnitsLabel,
                  &ComputedFunctionModel::setUnitsLabel, what)) {
        return kFailed;
    }
    InstrumentLink library;
    if (const auto refused = computed.accept(library)) return refusedWith(*refused);
    if (const auto refused = channels.applyComputed(computed.definition())) return refusedWith(*refused);
    return 0;
}

// The instrument of the second word with the Channels Configuration dialog
// opened on the channels of the third; runs change on it, then both OKs.
template <typename Change>
int onChannels(SetupSession &session, const CommandWords &words, std::size_t required, Change change) {
    const auto bcn = readBcn(words.positional[1]);
    if (!bcn) return kUsageError;
    auto edit = InstrumentEdit::open(session, *bcn);
    if (!edit) return kFailed;
    ChannelsConfigurationModel channels = edit->channels();
    if (!selectChannels(channels, words.positional[2])) return kFailed;
    if (const int status = change(channels); status != 0) return status;
    return edit->finishChannels(channels, outputPath(words, required));
}

} // namespace

const std::vector<OptionForm> kSetChannelOptions{{"--range"}, {"--units"}, {"--label"},   {"--r0"},     {"--alpha"},
                                                 {"--shunt"}, {"--otc"},   {"--average"}, {"--chan-a"}, {"--chan-b"}};

int setChannel(SetupSession &session, const CommandWords &words) {
    if (!fitsField(words, "--units", text_limit::kUnitsLabel) ||
        !fitsField(words, "--label", text_limit::kChannelLabel)) {
        return kFailed;
    }
    return onChannels(session, words, 4, [&words](ChannelsConfigurationModel &channels) {
        const int status =
            channels.computedSelected() ? setComputedFunction(channels, words) : setAnalogFunction(channels, words);
        if (status != 0 || !words.has("--label")) return status;
        channels.setLabelText(words.value("--label"));
        channels.applyLabel();
        return 0;
    });
}

const std::vector<OptionForm> kSetAlarmOptions{{"--sense1"}, {"--value1"},  {"--output1"}, {"--sense2"},
                                               {"--value2"}, {"--output2"}, {"--trigger"}};

int setAlarm(SetupSession &session, const CommandWords &words) {
    return onChannels(session, words, 3, [&words](ChannelsConfigurationModel &channels) {
        AlarmsConfigurationModel alarms = channels.alarmsConfiguration();
        using enum AlarmsControl;
        const AlarmsControl values[] = {Value1, Value2};
        const AlarmsControl outputs[] = {Output1, Output2};
        for (int alarm = 1; alarm <= 2; ++alarm) {
            const std::string number = std::to_string(alarm);
            const std::string what = "alarm " + number + " while it is OFF";
            if (words.has("--sense" + number)) {
                const auto sense = matchChoice(words.value("--sense" + number), AlarmsConfigurationModel::senseItems());
                if (!sense) return failure("an alarm's sense is " + joined(AlarmsConfigurationModel::senseItems()));
                alarms.chooseSense(alarm, *sense);
            }
            if (words.has("--value" + number)) {
                if (!alarms.enabled(values[alarm - 1])) return doesNotApply("--value" + number, what);
                alarms.setValueText(alarm, words.value("--value" + number));
            }
            if (words.has("--output" + number)) {
                if (!alarms.enabled(outputs[alarm - 1])) return doesNotApply("--output" + number, what);
                const auto output =
                    matchChoice(words.value("--output" + number), AlarmsConfigurationModel::outputItems());
                if (!output) return failure("an alarm's output is " + joined(AlarmsConfigurationModel::outputItems()));
                alarms.chooseOutput(alarm, *output);
            }
        }
        if (words.has("--trigger")) {
            if (!alarms.enabled(AlarmTrigger)) {
                return failure("--trigger needs an alarm that is on, on an instrument that is no Slave");
            }
            const auto on = parseSwitch(words.value("--trigger"));
            if (!on) return failure("--trigger is on or off");
            alarms.setAlarmTrigger(*on);
        }
        if (const auto refused = alarms.accept()) return refusedWith(*refused);
        channels.applyAlarms(alarms);
        return 0;
    });
}

const std::vector<OptionForm> kSetMxbOptions{{"--from", 4}};

int setMxb(SetupSession &session, const CommandWords &words) {
    const bool twoPoints = words.has("--from");
    const std::size_t required = twoPoints ? 3 : 5;
    if (words.positional.size() < required || words.positional.size() > required + 1) return kUsageError;
    return onChannels(session, words, required, [&](ChannelsConfigurationModel &channels) {
        MxbConfigurationModel mxb = channels.mxbConfiguration();
        if (twoPoints) {
            MxbCalculationModel calculation = mxb.calculation();
            const std::vector<std::string> &entries = words.options.at("--from");
            for (std::size_t i = 0; i < entries.size(); ++i) {
                calculation.setText(static_cast<MxbCalculationControl>(i), entries[i]);
            }
            if (const auto refused = calculation.accept()) return refusedWith(*refused);
            mxb.acceptCalculation(calculation);
        } else {
            mxb.setFactorText(words.positional[3]);
            mxb.setOffsetText(words.positional[4]);
        }
        if (const auto refused = mxb.accept()) return refusedWith(*refused);
        channels.applyMxb(mxb);
        return 0;
    });
}
