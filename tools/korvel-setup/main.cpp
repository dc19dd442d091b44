// korvel-setup: reads, converts and changes setup files without the logger's
// windows, for people who script or inspect their setups. Messages go to
// standard error with the logger's own texts.
#include "equation_channel.h"
#include "setup_session.h"

#include "kvlink32.h"
#include "setup/configuration_report.h"
#include "setup/configuration_report_file.h"
#include "setup/mxb_file.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

void printUsage(std::ostream &out) {
    out << "usage: korvel-setup report SETUP [BCN]\n"
           "       korvel-setup save-as SETUP OUT.stp\n"
           "       korvel-setup load-mxb SETUP BCN FILE [OUT.stp]\n"
           "       korvel-setup set-equation SETUP BCN CHANNEL EQUATION [OUT.stp]\n"
           "\n"
           "report    prints the configuration text report of every instrument of the\n"
           "          setup, or of the one with that BCN (lines end in CR LF, as in the\n"
           "          configuration text file).\n"
           "save-as   opens a setup file in record or text form and saves it in record form.\n"
           "load-mxb  loads the Mx+B file into the instrument with that BCN and saves the\n"
           "          setup to OUT.stp, or back to SETUP when OUT.stp is not given. Nothing\n"
           "          is saved when the Mx+B file is refused.\n"
           "set-equation  makes computed channel CHANNEL (21-30) of the instrument with\n"
           "          that BCN an Equation channel, e.g. \"(C1+C2)/2\", and saves as load-mxb\n"
           "          does. The equation may read only defined channels numbered below\n"
           "          CHANNEL; nothing is saved when the logger's channel configuration\n"
           "          would refuse it, and its message says why (for an equation that\n"
           "          does not compile, with a mark under the place of the error).\n"
           "\n"
           "Instruments are kept only when their BCN is in ccf.cfg, which gives their\n"
           "model: ccf.cfg is read beside libkvlink32.so, or in the directory named by\n"
           "KVLINK32_CCF_DIR. Numbers and times follow the regional settings in\n"
           "$XDG_CONFIG_HOME/korvel32/win.ini ([intl]).\n"
           "Exit status: 0 on success, 1 when a file or instrument fails, 2 on a usage error.\n";
}

bool readBcn(std::string_view text, unsigned &bcn) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bcn);
    return error == std::errc() && end == text.data() + text.size() && bcn >= 1 && bcn <= 99;
}

// The slot of the BCN, or 0 after saying that the setup has no such instrument.
int slotOf(SetupSession &session, unsigned bcn) {
    const int slot = session.instruments().find(bcn);
    if (slot == 0) std::fprintf(stderr, "korvel-setup: the setup has no instrument %02u\n", bcn);
    return slot;
}

int report(SetupSession &session, const std::vector<std::string> &arguments) {
    std::vector<int> slots;
    if (arguments.size() == 2) {
        unsigned bcn = 0;
        if (!readBcn(arguments[1], bcn)) return kUsageError;
        slots.push_back(slotOf(session, bcn));
        if (slots[0] == 0) return kFailed;
    } else {
        for (int slot = 1; slot <= korvel::kInstrumentSlots; ++slot) {
            if (session.instruments().slot(slot).inUse) slots.push_back(slot);
        }
    }
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (i > 0) std::cout << "\r\n";
        std::cout << korvel::configurationReportText(
            korvel::buildConfigurationReport(session.instruments(), slots[i], session.options(), session.formats()));
    }
    return 0;
}

int loadMxb(SetupSession &session, const std::vector<std::string> &arguments) {
    unsigned bcn = 0;
    if (!readBcn(arguments[1], bcn)) return kUsageError;
    const int slot = slotOf(session, bcn);
    if (slot == 0) return kFailed;
    // A file whose lines all name OFF channels is no failure: it changes nothing.
    if (korvel::loadMxbFile(session.instruments(), slot, arguments[2], session.formats().decimalSymbol, session.ui()) ==
        korvel::MxbLoadResult::Refused) {
        return kFailed;
    }
    return session.save(arguments.size() == 4 ? arguments[3] : arguments[0]) ? 0 : kFailed;
}

// The equation with a mark under the character where the compiler stopped.
void printCaret(const std::string &equation, int caret) {
    std::fprintf(stderr, "  %s\n  %*s^\n", equation.c_str(), caret, "");
}

int setEquation(SetupSession &session, const std::vector<std::string> &arguments) {
    unsigned bcn = 0;
    if (!readBcn(arguments[1], bcn)) return kUsageError;
    int channel = 0;
    const std::string &channelText = arguments[2];
    const auto [end, error] = std::from_chars(channelText.data(), channelText.data() + channelText.size(), channel);
    if (error != std::errc() || end != channelText.data() + channelText.size() || !korvel::isComputedChannel(channel)) {
        std::fprintf(stderr, "korvel-setup: an equation channel is one of %d to %d\n", korvel::kFirstComputedChannel,
                     korvel::kChannelCount);
        return kFailed;
    }
    const std::string &equation = arguments[3];
    if (equation.size() > korvel::kEquationLength) {
        std::fprintf(stderr, "korvel-setup: an equation has at most %zu characters\n", korvel::kEquationLength);
        return kFailed;
    }
    const int slot = slotOf(session, bcn);
    if (slot == 0) return kFailed;
    korvel::InstrumentTable &instruments = session.instruments();
    const auto refused = setEquationChannel(*instruments.slot(slot).setup, bcn, channel, equation,
                                            session.formats().decimalSymbol, instruments.setupTemplate().offChannel);
    if (refused) {
        std::fprintf(stderr, "korvel-setup: %s\n", refused->text.c_str());
        if (refused->caret >= 0) printCaret(equation, refused->caret);
        return kFailed;
    }
    return session.save(arguments.size() == 5 ? arguments[4] : arguments[0]) ? 0 : kFailed;
}

int run(const std::string &command, const std::vector<std::string> &arguments) {
    SetupSession session;
    if (!session.open(arguments[0])) return kFailed;
    if (command == "report") return report(session, arguments);
    if (command == "save-as") return session.save(arguments[1]) ? 0 : kFailed;
    if (command == "set-equation") return setEquation(session, arguments);
    return loadMxb(session, arguments);
}

bool argumentCountFits(const std::string &command, std::size_t count) {
    if (command == "report") return count == 1 || count == 2;
    if (command == "save-as") return count == 2;
    if (command == "load-mxb") return count == 3 || count == 4;
    if (command == "set-equation") return count == 4 || count == 5;
    return false;
}

} // namespace

int main(int argc, char **argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && (words[0] == "--help" || words[0] == "-h")) {
        printUsage(std::cout);
        return 0;
    }
    if (words.empty() || !argumentCountFits(words[0], words.size() - 1)) {
        printUsage(std::cerr);
        return kUsageError;
    }
    const std::int32_t started = kvxLibInit(0);
    if (started != KVX_OK) {
        std::fprintf(stderr, "korvel-setup: the communication library did not start (%s)\n", kvxErrorName(started));
        return kFailed;
    }
    // Without ccf.cfg every instrument of the setup would be dropped, and a save
    // would write the setup back without them.
    const std::int32_t entries = kvxCCFnumEntries();
    if (entries < 0) {
        std::fprintf(stderr, "korvel-setup: %s (%s), so no instrument of the setup could be kept\n",
                     kvxErrorText(entries), kvxErrorName(entries));
        kvxLibExit();
        return kFailed;
    }
    const int status = run(words[0], {words.begin() + 1, words.end()});
    kvxLibExit();
    if (status == kUsageError) std::fprintf(stderr, "korvel-setup: a BCN is a number from 1 to 99\n");
    return status;
}
