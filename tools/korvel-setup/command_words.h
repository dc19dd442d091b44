// The words of a korvel-setup command: positional arguments, "--name value"
// options, and the choices, channel lists and switches they hold.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// Exit statuses: a file or an instrument failed, or the command was misused.
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

// Prints "korvel-setup: text" to standard error and gives kFailed.
int failure(const std::string &text);

// A BCN, 1..99; on anything else says so and gives none.
std::optional<unsigned> readBcn(const std::string &text);

struct OptionForm {
    std::string name;   // with the leading "--"
    int valueCount = 1; // 0 for a flag
};

struct CommandWords {
    std::vector<std::string> positional;
    std::map<std::string, std::vector<std::string>> options; // the last given wins

    bool has(const std::string &name) const { return options.count(name) != 0; }
    // The single value of an option that takes one.
    const std::string &value(const std::string &name) const { return options.at(name).front(); }
};

// Words beginning "--" are options and must be among forms; any other word,
// a negative number included, is positional. Nullopt after saying what is wrong.
std::optional<CommandWords> splitCommandWords(const std::vector<std::string> &words,
                                              const std::vector<OptionForm> &forms);

// Whether the option's text, when given, fits a dialog field with this limit
// (in bytes of UTF-8, as the setup stores it); says so when not.
bool fitsField(const CommandWords &words, const char *option, std::size_t limit);

// Where a command saves: the positional word after the required ones, else
// the setup it opened.
const std::string &outputPath(const CommandWords &words, std::size_t required);

// The item a word names, ignoring case and blanks: the item it equals, else
// the one with a word it equals, else the only one it begins ("rtd-4w" for
// "RTD-4W", "slow" for "Slow (High Res.)", "binary" for "Fast Binary").
std::optional<int> matchChoice(const std::string &word, const std::vector<std::string> &items);

// "1-3,7,21" as channels 1, 2, 3, 7, 21 in that order, each once, 1..30.
std::optional<std::vector<int>> parseChannelList(const std::string &text);

// "on" or "off".
std::optional<bool> parseSwitch(const std::string &text);

// The items joined for a message: "OFF, VDC, VAC".
std::string joined(const std::vector<std::string> &items);
