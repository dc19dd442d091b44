// korvel-convert: the logger's data-file conversions without its window, for
// scripts and for people at a terminal. The same engine as the Utilities
// menu, with its checks and its messages on standard error.
#include "terminal_progress.h"

#include "app/application_settings.h"
#include "app/program_directory.h"
#include "datafiles/file_conversions.h"
#include "datafiles/trend_link_interface.h"
#include "datafiles/trend_link_library.h"
#include "platform/printing_user_interface.h"
#include "platform/regional_formats.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

void printUsage(std::ostream &out) {
    out << "usage: korvel-convert bin-to-csv SOURCE.bin TARGET.csv [--force]\n"
           "       korvel-convert csv-times SOURCE.csv TARGET.txt [--force]\n"
           "       korvel-convert bin-to-trend SOURCE.bin TARGET.set [--force]\n"
           "\n"
           "bin-to-csv    converts a Fast data file (.bin) to an ASCII data file (.csv),\n"
           "              the lines the logger writes when it logs to .csv.\n"
           "csv-times     copies an ASCII data file with each TIME value (days since\n"
           "              1899-12-30) written as a date and time with milliseconds.\n"
           "bin-to-trend  stores a Fast data file in new Trend Link data sets, one per\n"
           "              instrument, as logging to TARGET.set would have: they lie in\n"
           "              the directory _TARGET beside it, with the chart for tl32, and\n"
           "              TARGET.set names that directory. The historian is loaded from\n"
           "              TLDIR of korvel32.ini in the program directory ($KORVEL32_HOME\n"
           "              when set), else from the program directory.\n"
           "\n"
           "An existing TARGET is replaced only with --force. On a terminal a progress\n"
           "bar shows on standard error; Ctrl-C stops the conversion and leaves what was\n"
           "converted so far in TARGET. Numbers and times follow the regional settings\n"
           "in $XDG_CONFIG_HOME/korvel32/win.ini ([intl]).\n"
           "Exit status: 0 when the file was converted, 1 when it was not (the message\n"
           "says why), 2 on a usage error.\n";
}

// The engine's messages, one line each after the program's name, below the
// progress bar when one is drawn.
class MessagesOnStandardError : public korvel::PrintingUserInterface {
public:
    explicit MessagesOnStandardError(korvel::TerminalProgress &progress)
            : PrintingUserInterface(korvel::AnswerPolicy::Refuse), progress_(progress) {}

    korvel::MessageAnswer showMessage(const std::string &text, korvel::MessageIcon, korvel::MessageButtons) override {
        progress_.breakLine();
        std::string lines = text;
        std::erase(lines, '\r');
        std::cerr << "korvel-convert: " << lines << '\n' << std::flush;
        return korvel::MessageAnswer::Ok;
    }

private:
    korvel::TerminalProgress &progress_;
};

struct Command {
    korvel::ConversionKind kind;
    korvel::ConversionFiles files;
    bool force = false;
};

std::optional<korvel::ConversionKind> kindNamed(const std::string &name) {
    if (name == "bin-to-csv") return korvel::ConversionKind::BinaryToAscii;
    if (name == "csv-times") return korvel::ConversionKind::AsciiTimestamps;
    if (name == "bin-to-trend") return korvel::ConversionKind::BinaryToTrendLink;
    return std::nullopt;
}

std::optional<Command> readCommand(const std::vector<std::string> &words) {
    std::vector<std::string> positional;
    bool force = false;
    for (const std::string &word : words) {
        if (word == "--force")
            force = true;
        else if (word.size() > 1 && word[0] == '-')
            return std::nullopt;
        else
            positional.push_back(word);
    }
    if (positional.size() != 3) return std::nullopt;
    const auto kind = kindNamed(positional[0]);
    if (!kind) return std::nullopt;
    return Command{*kind, {positional[1], positional[2]}, force};
}

int failure(const std::string &text) {
    std::cerr << "korvel-convert: " << text << '\n';
    return kFailed;
}

} // namespace

int main(int argc, char **argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h")) {
        printUsage(std::cout);
        return 0;
    }
    const std::optional<Command> command = readCommand(words);
    if (!command) {
        printUsage(std::cerr);
        return kUsageError;
    }
    std::error_code error;
    if (!command->force && std::filesystem::exists(command->files.target, error))
        return failure(command->files.target + " exists; --force replaces it");

    korvel::TerminalProgress progress;
    MessagesOnStandardError ui(progress);
    // Found as the logger finds it; only the Trend Link conversion loads it.
    korvel::TrendLinkLibrary trendLinkLibrary;
    korvel::TrendLinkInterface trendLink(trendLinkLibrary, ui);
    const std::string programDirectory = korvel::programDirectory();
    trendLink.setPaths({programDirectory, programDirectory + korvel::kSettingsFileName});
    const korvel::RegionalFormats formats = korvel::readRegionalFormats();
    const korvel::ConversionOutcome outcome =
        korvel::convertFile(command->kind, command->files, {formats, ui, &trendLink}, progress);
    if (outcome == korvel::ConversionOutcome::Aborted)
        return failure("stopped; " + command->files.target + " holds what was converted until then");
    return outcome == korvel::ConversionOutcome::Complete ? 0 : kFailed;
}
