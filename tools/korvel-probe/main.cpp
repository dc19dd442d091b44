// korvel-probe: asks each instrument of ccf.cfg who it is, the way the
// logger checks an instrument before it logs, and says plainly what failed.
#include "kvlink32.h"
#include "result_messages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void printUsage() {
    std::puts("usage: korvel-probe [--timeout SECONDS] [BCN ...]\n"
              "\n"
              "Opens each instrument (every one in ccf.cfg when no BCN is given), reads the\n"
              "BCN set on it, its model, its logger compatibility text and its status word,\n"
              "and closes it again. ccf.cfg is read beside libkvlink32.so, or in the\n"
              "directory named by KVLINK32_CCF_DIR. Exit status: 0 when every instrument\n"
              "answered as configured, 1 when one did not, 2 on a usage or file error.");
}

const char *modelName(int32_t model) { return model == KVX_MODEL_M100A ? "M100A" : "M200A"; }

// The logger reads the number that starts at the third character.
std::string compatibilityVerdict(int32_t result, const char *text) {
    if (result == KVX_INST_OLD_SOFTWARE) return "older software: no computed-channel equations or custom RTDs";
    if (result != KVX_OK) return std::string("not available (") + kvxErrorName(result) + ")";
    const double number = std::strlen(text) > 2 ? std::atof(text + 2) : 0.0;
    std::string verdict = std::string("\"") + text + "\" ";
    if (number <= 0.0) return verdict + "- instrument software is outdated for this logger";
    if (number >= 2.0) return verdict + "- the logger is outdated for this instrument";
    return verdict + "- compatible";
}

// One instrument: true when it answered as ccf.cfg describes it.
bool probe(int32_t bcn) {
    uint8_t address[4] = {};
    int32_t configuredModel = 0;
    if (kvxCCFgetBCN(bcn, address, &configuredModel) != 1) {
        std::printf("%s\n", instrumentFailureMessage(bcn, KVX_E_BCN_NOT_CONFIGURED).c_str());
        return false;
    }
    std::printf("Instrument %02d: %u.%u.%u.%u, %s in ccf.cfg\n", bcn, address[0], address[1], address[2], address[3],
                modelName(configuredModel));

    int32_t result = kvxCommOpen(bcn);
    if (result != KVX_OK) {
        std::printf("  %s (%s)\n", instrumentFailureMessage(bcn, result).c_str(), kvxErrorName(result));
        return false;
    }
    bool good = true;
    int32_t reported = 0;
    result = kvxInstBCN(bcn, &reported);
    if (result == KVX_OK) {
        std::printf("  BCN on instrument   %d%s\n", reported,
                    reported == bcn ? "" : "  <- Instrument BCN does not match!  Reconfigure Communications!");
        good = good && reported == bcn;
    } else {
        std::printf("  BCN on instrument   %s\n", instrumentFailureMessage(bcn, result).c_str());
        good = false;
    }

    int32_t model = 0;
    char modelText[40] = {};
    result = kvxModel(bcn, &model, modelText);
    if (result == KVX_OK) {
        std::printf("  model               %.39s%s\n", modelText,
                    model == configuredModel ? ""
                                             : "  <- Instrument model does not match!  Reconfigure Communications!");
        good = good && model == configuredModel;
    } else {
        std::printf("  model               %s (%s)\n", kvxErrorText(result), kvxErrorName(result));
        good = false;
    }

    char compatibility[8] = {};
    result = kvxLoggerCompatibility(bcn, compatibility);
    std::printf("  compatibility       %s\n", compatibilityVerdict(result, compatibility).c_str());

    uint32_t status = 0;
    result = kvxInstStatus(bcn, &status);
    if (result == KVX_OK)
        std::printf("  status word         0x%08X%s\n", status,
                    (status & 0xFFFFu) != 0 ? "  <- the instrument reports a condition" : "");
    else
        std::printf("  status word         %s (%s)\n", kvxErrorText(result), kvxErrorName(result));
    good = good && result == KVX_OK;

    kvxCommClose(bcn);
    return good;
}

} // namespace

int main(int argc, char **argv) {
    std::vector<int32_t> bcns;
    int32_t timeout = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            printUsage();
            return 0;
        }
        if (arg == "--timeout" && i + 1 < argc) {
            timeout = std::atoi(argv[++i]);
            if (timeout <= 0) {
                std::fprintf(stderr, "korvel-probe: --timeout needs a number of seconds above 0\n");
                return 2;
            }
            continue;
        }
        char *end = nullptr;
        const long bcn = std::strtol(arg.c_str(), &end, 10);
        if (end == arg.c_str() || *end != '\0' || bcn < 1 || bcn > KVX_MAX_BCN) {
            std::fprintf(stderr, "korvel-probe: '%s' is not a BCN (1 to 99)\n", arg.c_str());
            return 2;
        }
        bcns.push_back(static_cast<int32_t>(bcn));
    }

    if (kvxLibInit(0) != KVX_OK) {
        std::fprintf(stderr, "korvel-probe: the communication library cannot start\n");
        return 2;
    }
    if (timeout > 0) kvxTimeoutSet(timeout);
    const int32_t entries = kvxCCFnumEntries();
    if (entries < 0) {
        std::fprintf(stderr, "korvel-probe: ccf.cfg: %s (%s)%s\n", kvxErrorText(entries), kvxErrorName(entries),
                     entries == KVX_E_CCF_MISSING ? "; set KVLINK32_CCF_DIR to the directory that holds it" : "");
        kvxLibExit();
        return 2;
    }
    if (bcns.empty()) {
        for (int32_t i = 0; i < entries; ++i) {
            int32_t bcn = 0, model = 0;
            uint8_t address[4];
            if (kvxCCFgetEntry(static_cast<uint32_t>(i), &bcn, address, &model) == KVX_OK) bcns.push_back(bcn);
        }
        if (bcns.empty()) std::puts("ccf.cfg lists no instruments.");
    }

    bool allGood = true;
    for (int32_t bcn : bcns) allGood = probe(bcn) && allGood;
    kvxLibExit();
    return allGood ? 0 : 1;
}
