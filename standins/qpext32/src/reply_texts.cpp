#include "reply_texts.h"

#include "qpext32.h"

namespace qpext32 {
namespace {

std::string instrument(int bcn) { return "instrument " + std::to_string(bcn); }

bool isSetupCommand(std::uint32_t command) {
    return command >= QPEXT32_OPEN_SETUP_KEEPING && command <= QPEXT32_SAVE_AND_OPEN_SETUP;
}

std::string doneText(std::uint32_t command, int bcn) {
    switch (command) {
        case QPEXT32_START_INSTRUMENT: return "start of " + instrument(bcn) + " done";
        case QPEXT32_START_ALL: return "start of all instruments done";
        case QPEXT32_STOP_INSTRUMENT: return instrument(bcn) + " stopped";
        case QPEXT32_STOP_ALL: return "all instruments stopped";
        case QPEXT32_OPEN_SETUP_KEEPING:
        case QPEXT32_OPEN_SETUP: return "setup opened";
        case QPEXT32_SAVE_AND_OPEN_SETUP: return "setup saved where it had changes, and opened";
        case QPEXT32_LOAD_MXB_FILE: return "Mx+B file loaded into " + instrument(bcn);
        case QPEXT32_SWITCH_REMOTE_MODE: return "remote mode switched";
        default: return "done";
    }
}

} // namespace

std::string replyMeaning(std::uint32_t command, int bcn, int reply) {
    const bool all = command == QPEXT32_START_ALL || command == QPEXT32_STOP_ALL;
    switch (reply) {
        case 0: return doneText(command, bcn);
        case QPEXT32_REPLY_DIALOG_OPEN: return "refused: a dialog is open in the logger";
        case QPEXT32_REPLY_REMOTE_MODE_ON: return "remote mode is already on";
        case QPEXT32_REPLY_REMOTE_MODE_OFF: return "remote mode is already off";
        case QPEXT32_REPLY_NO_INSTRUMENT:
            return all ? "the setup has no instrument"
                       : "no instrument with BCN " + std::to_string(bcn) + " in the setup";
        case QPEXT32_REPLY_SLAVE: return instrument(bcn) + " is a Slave: it starts and stops with its Master";
        case QPEXT32_REPLY_LOGGING:
            if (command == QPEXT32_START_ALL) return "every instrument already logs";
            if (isSetupCommand(command)) return "refused while instruments log";
            if (command == QPEXT32_LOAD_MXB_FILE) return "refused while " + instrument(bcn) + " logs";
            return instrument(bcn) + " already logs";
        case QPEXT32_REPLY_NOT_LOGGING:
            return all ? "no instrument logs that is not already stopping"
                       : instrument(bcn) + " does not log, or is already stopping";
        case QPEXT32_REPLY_UNSAVED_CHANGES: return "refused: the open setup has unsaved changes";
        case QPEXT32_REPLY_NO_MXB_FILE: return "the Mx+B file does not exist";
        case QPEXT32_REPLY_NO_SETUP_FILE: return "the setup file does not exist";
        case QPEXT32_REPLY_CANNOT_CREATE: return "the setup file cannot be created";
        case QPEXT32_REPLY_CANNOT_STOP: return "scanning of " + instrument(bcn) + " could not be stopped";
        default:
            return bcn != 0 ? "failed at " + instrument(bcn) + " (code " + std::to_string(reply) + ")"
                            : "failed (code " + std::to_string(reply) + ")";
    }
}

std::string errorReportText(int code) {
    switch (code) {
        case QPEXT32_REPORT_COMMUNICATION: return "communication interruption";
        case QPEXT32_REPORT_LOW_DISK: return "low disk space for Trend Link data";
        case QPEXT32_REPORT_DATA_FILE: return "unable to write or close the data file";
        case QPEXT32_REPORT_QUEUE_OVERFLOW: return "instrument scan queue overflow";
        case QPEXT32_REPORT_RAM_CONSTANTS: return "RAM constants corrupted";
        case QPEXT32_REPORT_ANALOG: return "analog processor not responding";
        default: return "problem " + std::to_string(code);
    }
}

} // namespace qpext32
