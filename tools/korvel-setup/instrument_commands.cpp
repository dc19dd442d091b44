#include "instrument_commands.h"

#include "instrument_edit.h"

#include "platform/printing_user_interface.h"
#include "setup/dialog_text_limits.h"
#include "setup/group_instruments_rules.h"
#include "setup/instrument_description_rules.h"
#include "setup/text_format.h"

namespace {

using namespace korvel;
using enum InstrumentControl;

// The dialog's control must be enabled for the option to apply.
bool applies(const InstrumentConfigurationModel &instrument, InstrumentControl control, const std::string &option,
             const char *when) {
    if (instrument.enabled(control)) return true;
    failure(option + " applies only " + when);
    return false;
}

std::optional<TriggerParts> parseTriggers(const std::string &text) {
    TriggerParts parts;
    if (text == "none") return parts;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t plus = std::min(text.find('+', from), text.size());
        const std::string word = text.substr(from, plus - from);
        if (word == "interval")
            parts.interval = true;
        else if (word == "external")
            parts.external = true;
        else if (word == "alarm")
            parts.alarm = true;
        else
            return std::nullopt;
        from = plus + 1;
    }
    return parts;
}

// "H:M:S" into the three duration fields, each within its field's digits.
bool setDuration(InstrumentConfigurationModel &instrument, const std::string &text) {
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string::npos ? first : text.find(':', first + 1);
    if (second == std::string::npos) return false;
    const std::string hours = text.substr(0, first);
    const std::string minutes = text.substr(first + 1, second - first - 1);
    const std::string seconds = text.substr(second + 1);
    if (!text_limit::fits(hours, text_limit::kDurationHours) ||
        !text_limit::fits(minutes, text_limit::kDurationMinutes) ||
        !text_limit::fits(seconds, text_limit::kDurationSeconds)) {
        return false;
    }
    instrument.setStopScanning(true);
    instrument.setText(DurationHours, hours);
    instrument.setText(DurationMinutes, minutes);
    instrument.setText(DurationSeconds, seconds);
    return true;
}

int setSwitch(const CommandWords &words, const char *option, const std::function<void(bool)> &set) {
    if (!words.has(option)) return 0;
    const auto on = parseSwitch(words.value(option));
    if (!on) return failure(std::string(option) + " is on or off");
    set(*on);
    return 0;
}

int applyOptions(InstrumentEdit &edit, const CommandWords &words) {
    InstrumentConfigurationModel &instrument = edit.instrument();
    if (words.has("--units")) {
        const std::string &units = words.value("--units");
        if (units != "celsius" && units != "fahrenheit") return failure("--units is celsius or fahrenheit");
        instrument.setTemperatureUnits(units == "celsius" ? TemperatureUnits::Celsius : TemperatureUnits::Fahrenheit);
    }
    if (int status = setSwitch(words, "--debounce", [&](bool on) { instrument.setTotalizerDebounce(on); }))
        return status;
    if (words.has("--monitor")) {
        const std::string &monitor = words.value("--monitor");
        const auto channel = parseChannelList(monitor);
        if (monitor != "none" && (!channel || channel->size() != 1))
            return failure("--monitor is none or a channel 1 to 30");
        instrument.chooseMonitorChannel(monitor == "none" ? 0 : channel->front());
    }
    const char *notSlave = "to an instrument that is no Slave";
    if (words.has("--triggers")) {
        if (!applies(instrument, IntervalTrigger, "--triggers", notSlave)) return kFailed;
        const auto triggers = parseTriggers(words.value("--triggers"));
        if (!triggers) return failure("--triggers is none or interval, external and alarm joined by +");
        instrument.setTriggers(*triggers);
    }
    if (words.has("--rate")) {
        if (!applies(instrument, ReadingRate, "--rate", notSlave)) return kFailed;
        const auto rate = matchChoice(words.value("--rate"), InstrumentConfigurationModel::readingRateItems());
        if (!rate) return failure("the reading rates are " + joined(InstrumentConfigurationModel::readingRateItems()));
        instrument.chooseReadingRate(*rate);
    }
    const std::pair<const char *, InstrumentControl> intervals[] = {{"--interval1", Interval1},
                                                                    {"--interval2", Interval2}};
    for (const auto &[option, control] : intervals) {
        if (!words.has(option)) continue;
        const char *when = control == Interval1 ? "with the interval trigger" : "with the external or alarm trigger";
        if (!applies(instrument, control, option, when)) return kFailed;
        instrument.setText(control, words.value(option));
    }
    if (words.has("--drift") && !applies(instrument, DriftCorrection, "--drift", "at the Fast reading rate"))
        return kFailed;
    if (int status = setSwitch(words, "--drift", [&](bool on) { instrument.setDriftCorrection(on); })) return status;
    if (words.has("--trigger-out") &&
        !applies(instrument, TriggerOut, "--trigger-out", "to an instrument that is no Slave nor a wired Master")) {
        return kFailed;
    }
    if (int status = setSwitch(words, "--trigger-out", [&](bool on) { instrument.setTriggerOut(on); })) return status;
    if (words.has("--duration")) {
        if (!applies(instrument, StopScanning, "--duration", notSlave)) return kFailed;
        const std::string &duration = words.value("--duration");
        if (duration == "off") {
            instrument.setStopScanning(false);
        } else if (!setDuration(instrument, duration)) {
            return failure("--duration is off or HHH:MM:SS");
        }
    }
    return 0;
}

} // namespace

const std::vector<OptionForm> kSetInstrumentOptions{{"--triggers"}, {"--interval1"},   {"--interval2"},  {"--rate"},
                                                    {"--drift"},    {"--trigger-out"}, {"--duration"},   {"--units"},
                                                    {"--debounce"}, {"--monitor"},     {"--description"}};

int setInstrument(SetupSession &session, const CommandWords &words) {
    const auto bcn = readBcn(words.positional[1]);
    if (!bcn) return kUsageError;
    auto edit = InstrumentEdit::open(session, *bcn);
    if (!edit) return kFailed;
    if (words.has("--description")) {
        if (!fitsField(words, "--description", text_limit::kDescription)) return kFailed;
        // Instrument Description is a dialog of its own, changing the instrument
        // itself; nothing is saved should the configuration below be refused.
        InstrumentSetup &setup = *session.instruments().slot(edit->slot()).setup;
        InstrumentDescriptionModel description(setup, edit->identity());
        description.setText(words.value("--description"));
        description.applyTo(setup);
        edit = InstrumentEdit::open(session, *bcn); // a working copy with the new description
    }
    if (const int status = applyOptions(*edit, words)) return status;
    return edit->finish(outputPath(words, 2));
}

const std::vector<OptionForm> kSetGroupOptions{{"--wired"}, {"--yes", 0}};

int setGroup(SetupSession &session, const CommandWords &words) {
    const auto bcn = readBcn(words.positional[1]);
    if (!bcn) return kUsageError;
    const int slot = session.instruments().find(*bcn);
    if (slot == 0) return failure(formatted("the setup has no instrument %02u", *bcn));
    const std::vector<std::string> roles{resourceString(codeValue(GroupRole::Async)),
                                         resourceString(codeValue(GroupRole::Master)),
                                         resourceString(codeValue(GroupRole::Slave))};
    const auto role = matchChoice(words.positional[2], roles);
    if (!role) return failure("a role is " + joined(roles));
    const GroupRole chosen = static_cast<GroupRole>(codeValue(GroupRole::Async) + *role);

    GroupInstrumentsModel group(session.instruments(), session.options());
    group.selectSlot(slot);
    if (chosen == GroupRole::Slave && !group.enabled(GroupControl::Slave)) {
        return failure("a Slave needs a Master that is another instrument");
    }
    PrintingUserInterface answers(words.has("--yes") ? AnswerPolicy::Accept : AnswerPolicy::Refuse);
    group.chooseRole(chosen, answers);
    if (group.selectedRole() != chosen) return failure("the roles stay as they were; --yes answers Yes");
    if (words.has("--wired")) {
        if (!group.enabled(GroupControl::ExternallyWired)) return failure("--wired needs a Master in the setup");
        const auto on = parseSwitch(words.value("--wired"));
        if (!on) return failure("--wired is on or off");
        group.setExternallyWired(*on);
    }
    return session.save(outputPath(words, 3)) ? 0 : kFailed;
}
