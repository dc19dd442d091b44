// Names and texts of the result codes, for logs and diagnostic tools.
#include "kvlink32.h"

namespace {

struct CodeText {
    const char *name;
    const char *text;
};

CodeText describe(int32_t code) {
    switch (code) {
        case KVX_OK: return {"KVX_OK", "success"};
        case KVX_E_NET_NOT_STARTED: return {"KVX_E_NET_NOT_STARTED", "the network layer is not started"};
        case KVX_E_SOCKET: return {"KVX_E_SOCKET", "no communications socket could be made"};
        case KVX_E_MARSHAL: return {"KVX_E_MARSHAL", "a request or reply could not be encoded or decoded"};
        case KVX_E_NO_WINSOCK: return {"KVX_E_NO_WINSOCK", "the network layer cannot be loaded"};
        case KVX_E_CONN_DOWN: return {"KVX_E_CONN_DOWN", "the connection is down"};
        case KVX_E_NET_TIMEOUT: return {"KVX_E_NET_TIMEOUT", "the network reported a time-out"};
        case KVX_E_SOCKET_ERROR: return {"KVX_E_SOCKET_ERROR", "socket error"};
        case KVX_E_NET_ALREADY: return {"KVX_E_NET_ALREADY", "the network layer is already loaded"};
        case KVX_E_WINSOCK_INIT: return {"KVX_E_WINSOCK_INIT", "the network layer failed to start"};
        case KVX_E_ALREADY_INIT: return {"KVX_E_ALREADY_INIT", "the library is already started"};
        case KVX_E_NOT_INIT: return {"KVX_E_NOT_INIT", "the library is not started"};
        case KVX_E_BAD_BCN: return {"KVX_E_BAD_BCN", "BCN outside 1..99"};
        case KVX_E_BAD_TIMEOUT: return {"KVX_E_BAD_TIMEOUT", "a time-out of 0 seconds"};
        case KVX_E_ALREADY_OPEN: return {"KVX_E_ALREADY_OPEN", "communications with this instrument are already open"};
        case KVX_E_BAD_CHANNEL: return {"KVX_E_BAD_CHANNEL", "channel outside 1..30"};
        case KVX_E_NOT_OPEN: return {"KVX_E_NOT_OPEN", "communications with this instrument are not open"};
        case KVX_E_EXISTS: return {"KVX_E_EXISTS", "the BCN already exists"};
        case KVX_E_TOO_MANY: return {"KVX_E_TOO_MANY", "20 instruments are already open"};
        case KVX_E_BCN_NOT_CONFIGURED: return {"KVX_E_BCN_NOT_CONFIGURED", "the BCN is not in ccf.cfg"};
        case KVX_E_NO_MEMORY: return {"KVX_E_NO_MEMORY", "out of memory"};
        case KVX_E_CCF_MISSING: return {"KVX_E_CCF_MISSING", "ccf.cfg cannot be read"};
        case KVX_E_CCF_WRITE: return {"KVX_E_CCF_WRITE", "ccf.cfg cannot be written"};
        case KVX_E_BAD_INDEX: return {"KVX_E_BAD_INDEX", "entry index beyond the number of entries"};
        case KVX_E_BAD_PORT: return {"KVX_E_BAD_PORT", "socket port outside 1024..65535"};
        case KVX_E_BAD_MODEL: return {"KVX_E_BAD_MODEL", "model code other than 0 or 1"};
        case KVX_E_NO_PATH: return {"KVX_E_NO_PATH", "the library's own path cannot be read"};
        case KVX_E_CCF_DAMAGED: return {"KVX_E_CCF_DAMAGED", "ccf.cfg is damaged"};
        case KVX_E_BAD_NET_MODE: return {"KVX_E_BAD_NET_MODE", "network mode other than 2 or 4"};
        case KVX_E_BAD_ADDRESS: return {"KVX_E_BAD_ADDRESS", "invalid IP address or socket port"};
        case KVX_E_MODEL_MISMATCH: return {"KVX_E_MODEL_MISMATCH", "the instrument's model differs from ccf.cfg"};
        case KVX_E_BAD_COUNT: return {"KVX_E_BAD_COUNT", "more than 100 scans requested"};
        case KVX_E_TIME: return {"KVX_E_TIME", "the PC's local time cannot be converted"};
        case KVX_E_UNRECOGNISED_MODEL: return {"KVX_E_UNRECOGNISED_MODEL", "the instrument reported an unknown model"};
        case KVX_E_BAD_CONFIG: return {"KVX_E_BAD_CONFIG", "the configuration block is invalid"};
        case KVX_E_SESSIONS_OPEN: return {"KVX_E_SESSIONS_OPEN", "ccf.cfg cannot change while instruments are open"};
        case KVX_E_TIMEOUT: return {"KVX_E_TIMEOUT", "the instrument did not answer in time"};
        case KVX_E_REFUSED: return {"KVX_E_REFUSED", "the instrument refused the connection"};
        case KVX_E_BUSY: return {"KVX_E_BUSY", "another library call is in progress"};
        case KVX_E_BAD_PORT_TYPE: return {"KVX_E_BAD_PORT_TYPE", "pass-through type not a single bit of 1..128"};
        case KVX_E_TOO_LONG: return {"KVX_E_TOO_LONG", "pass-through length above 2000 bytes"};
        case KVX_E_BAD_MODEL_TYPE: return {"KVX_E_BAD_MODEL_TYPE", "configuration type other than 1 or 2"};
        case KVX_INST_OLD_SOFTWARE: return {"KVX_INST_OLD_SOFTWARE", "the instrument does not know the command"};
        case KVX_INST_BUSY: return {"KVX_INST_BUSY", "the instrument is busy completing its last command"};
        case KVX_INST_NO_READING: return {"KVX_INST_NO_READING", "the instrument has no reading yet"};
        case KVX_INST_BAD_START: return {"KVX_INST_BAD_START", "the instrument rejected the scan start time"};
        default: return {"unknown", "unknown result code"};
    }
}

} // namespace

extern "C" {

KVX_API const char *kvxErrorName(int32_t code) { return describe(code).name; }
KVX_API const char *kvxErrorText(int32_t code) { return describe(code).text; }

} // extern "C"
