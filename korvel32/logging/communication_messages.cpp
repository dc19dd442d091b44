#include "logging/communication_messages.h"

#include "kvlink32.h"

namespace korvel {

int communicationFailureMessage(int code) {
    switch (code) {
        case KVX_E_REFUSED: return 640;
        case KVX_E_TIMEOUT:
        case KVX_E_NET_TIMEOUT: return 648;
        case KVX_E_BAD_ADDRESS: return 647;
        case KVX_E_CCF_DAMAGED: return 649;
        case KVX_E_CCF_MISSING: return 645;
        case KVX_E_NO_MEMORY: return 644;
        case KVX_E_BCN_NOT_CONFIGURED: return 643;
        case KVX_E_ALREADY_OPEN: return 642;
        case KVX_E_WINSOCK_INIT: return 652;
        case KVX_E_SOCKET_ERROR: return 654;
        case KVX_E_CONN_DOWN: return 653;
        case KVX_E_NO_WINSOCK: return 650;
        case KVX_E_SOCKET: return 651;
        case KVX_INST_BUSY: return 655;
        default: return 656;
    }
}

} // namespace korvel
