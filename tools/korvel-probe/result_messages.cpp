#include "result_messages.h"

#include "kvlink32.h"

#include <cstdio>

namespace {

const char *failureText(int32_t result) {
    switch (result) {
        case KVX_E_REFUSED: return "Instrument is in use by another PC, or Socket Port number is incorrect!";
        case KVX_E_MODEL_MISMATCH: return "Instrument model does not match!  Reconfigure Communications!";
        case KVX_E_ALREADY_OPEN: return "Communications with this instrument have already been opened!";
        case KVX_E_BCN_NOT_CONFIGURED:
        case KVX_E_CCF_MISSING: return "Reconfigure Communications to include this instrument!";
        case KVX_E_NO_MEMORY: return "Out of Memory!  Close another application and try again!";
        case KVX_E_BAD_ADDRESS: return "Invalid IP Address or Socket Port Number!  Reconfigure Communications!";
        case KVX_E_TIMEOUT:
        case KVX_E_NET_TIMEOUT: return "Instrument not found!";
        case KVX_E_CCF_DAMAGED:
            return "Communications Configuration File is Damaged!  Delete CCF.CFG file and reconfigure "
                   "communications.";
        case KVX_E_NO_WINSOCK: return "Winsock.dll not found!";
        case KVX_E_SOCKET: return "Unable to open communications socket with instrument!";
        case KVX_E_WINSOCK_INIT: return "Unable to initialize Winsock!  Verify that driver has been loaded.";
        case KVX_E_CONN_DOWN: return "Connection is Down!";
        case KVX_E_SOCKET_ERROR: return "Socket Error!";
        case KVX_INST_BUSY: return "Instrument is busy completing its last received command!";
        default: return "Unknown Communication Error!";
    }
}

} // namespace

std::string instrumentFailureMessage(int32_t bcn, int32_t result) {
    // Every message about one instrument begins with its BCN.
    char text[200];
    std::snprintf(text, sizeof text, "Instrument %02u:  %s", static_cast<unsigned>(bcn), failureText(result));
    return text;
}
