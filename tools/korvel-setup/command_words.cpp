#include "command_words.h"

#include "setup/dialog_text_limits.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace {

std::string normalised(const std::string &text) {
    std::string result;
    for (const char c : text) {
        if (c != ' ') result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

// The letters-and-digits words of a name, in lower case: "ASCII (CSV)" has
// "ascii" and "csv".
std::vector<std::string> wordsOf(const std::string &name) {
    std::vector<std::string> words(1);
    for (const char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
            words.back() += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!words.back().empty()) {
            words.emplace_back();
        }
    }
    if (words.back().empty()) words.pop_back();
    return words;
}

std::optional<int> channelNumber(const std::string &text) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < 1 || number > korvel::kChannelCount) {
        return std::nullopt;
    }
    return number;
}

} // namespace

int failure(const std::string &text) {
    std::fprintf(stderr, "korvel-setup: %s\n", text.c_str());
    return kFailed;
}

std::optional<unsigned> readBcn(const std::string &text) {
    unsigned bcn = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bcn);
    if (error == std::errc() && end == text.data() + text.size() && bcn >= 1 && bcn <= 99) return bcn;
    std::fprintf(stderr, "korvel-setup: a BCN is a number from 1 to 99\n");
    return std::nullopt;
}

std::optional<CommandWords> splitCommandWords(const std::vector<std::string> &words,
                                              const std::vector<OptionForm> &forms) {
    CommandWords split;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!words[i].starts_with("--")) {
            split.positional.push_back(words[i]);
            continue;
        }
        const auto form = std::find_if(forms.begin(), forms.end(),
                                       [&](const OptionForm &candidate) { return candidate.name == words[i]; });
        if (form == forms.end()) {
            std::fprintf(stderr, "korvel-setup: unknown option %s\n", words[i].c_str());
            return std::nullopt;
        }
        const std::size_t count = static_cast<std::size_t>(form->valueCount);
        if (i + count >= words.size() && count > 0) {
            std::fprintf(stderr, "korvel-setup: %s takes %zu value%s\n", form->name.c_str(), count,
                         count == 1 ? "" : "s");
            return std::nullopt;
        }
        split.options[form->name] = {words.begin() + static_cast<std::ptrdiff_t>(i + 1),
                                     words.begin() + static_cast<std::ptrdiff_t>(i + 1 + count)};
        i += count;
    }
    return split;
}

bool fitsField(const CommandWords &words, const char *option, std::size_t limit) {
    if (!words.has(option) || korvel::text_limit::fits(words.value(option), limit)) return true;
    failure(std::string(option) + " holds at most " + std::to_string(limit) + " bytes of text");
    return false;
}

const std::string &outputPath(const CommandWords &words, std::size_t required) {
    return words.positional.size() > required ? words.positional[required] : words.positional[0];
}

std::optional<int> matchChoice(const std::string &word, const std::vector<std::string> &items) {
    const std::string wanted = normalised(word);
    if (wanted.empty()) return std::nullopt;
    // The closest kind of match decides: the whole name, one of its words, the
    // beginning of either; it must name one item only.
    constexpr int kWhole = 0, kWord = 1, kBeginning = 2, kNone = 3;
    std::array<std::vector<int>, kNone> found;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string item = normalised(items[i]);
        int best = item == wanted ? kWhole : item.starts_with(wanted) ? kBeginning : kNone;
        for (const std::string &part : wordsOf(items[i])) {
            if (part == wanted) best = std::min(best, kWord);
            if (part.starts_with(wanted)) best = std::min(best, kBeginning);
        }
        if (best != kNone) found[static_cast<std::size_t>(best)].push_back(static_cast<int>(i));
    }
    for (const std::vector<int> &matches : found) {
        if (!matches.empty()) return matches.size() == 1 ? std::optional<int>(matches.front()) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::vector<int>> parseChannelList(const std::string &text) {
    std::vector<int> channels;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string part = text.substr(from, comma - from);
        const std::size_t dash = part.find('-');
        const auto first = channelNumber(part.substr(0, dash));
        const auto last = dash == std::string::npos ? first : channelNumber(part.substr(dash + 1));
        if (!first || !last || *last < *first) return std::nullopt;
        for (int channel = *first; channel <= *last; ++channel) {
            if (std::find(channels.begin(), channels.end(), channel) == channels.end()) channels.push_back(channel);
        }
        from = comma + 1;
    }
    return channels;
}

std::optional<bool> parseSwitch(const std::string &text) {
    if (text == "on") return true;
    if (text == "off") return false;
    return std::nullopt;
}

std::string joined(const std::vector<std::string> &items) {
    std::string text;
    for (const std::string &item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}
