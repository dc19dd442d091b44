#include "socket_errors.h"

#include "kvlink32.h"

#include <cerrno>

namespace kvlink {

int32_t winsockError(int posixErrno) {
    switch (posixErrno) {
        case ECONNREFUSED: return 10061;
        case ETIMEDOUT: return 10060;
        case ECONNRESET: return 10054;
        case ECONNABORTED: return 10053;
        case ENOTCONN: return 10057;
        case ENETUNREACH: return 10051;
        case EHOSTUNREACH: return 10065;
        case ENETDOWN: return 10050;
        case ENETRESET: return 10052;
        case ESHUTDOWN: return 10058;
        case EHOSTDOWN: return 10064;
        case EADDRINUSE: return 10048;
        case EACCES: return 10013;
        case EINTR: return 10004;
        case EBADF: return 10009;
        case EFAULT: return 10014;
        case EINPROGRESS: return 10035;
#if EWOULDBLOCK != EAGAIN
        case EWOULDBLOCK: return 10035;
#endif
        case EAGAIN: return 10035;
        default: return 10000 + posixErrno;
    }
}

int32_t mapRecordedError(int32_t error) {
    if (error < 0) return error;
    switch (error) {
        case 10004:
        case 10009:
        case 10013:
        case 10014:
        case 10048:
        case 10050:
        case 10051:
        case 10052:
        case 10053:
        case 10054:
        case 10057:
        case 10058:
        case 10064:
        case 10065: return KVX_E_CONN_DOWN;
        case 10060: return KVX_E_NET_TIMEOUT;
        case 10061: return KVX_E_REFUSED;
        default: return KVX_E_SOCKET_ERROR;
    }
}

} // namespace kvlink
