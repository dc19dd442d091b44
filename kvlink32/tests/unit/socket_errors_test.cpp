// Socket failures reach the caller as the library's codes through the
// classic socket numbers: a wrong entry here turns "not found" into
// "socket error" for the user.
#include "socket_errors.h"

#include "kvlink32.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(SocketErrors, PosixErrorsMapToTheLibraryCodes) {
    struct Case {
        int posixErrno;
        int32_t code;
    };
    const Case cases[] = {
        {ECONNREFUSED, KVX_E_REFUSED},   {ETIMEDOUT, KVX_E_NET_TIMEOUT},    {ECONNRESET, KVX_E_CONN_DOWN},
        {ECONNABORTED, KVX_E_CONN_DOWN}, {ENOTCONN, KVX_E_CONN_DOWN},       {ENETUNREACH, KVX_E_CONN_DOWN},
        {EHOSTUNREACH, KVX_E_CONN_DOWN}, {ENETDOWN, KVX_E_CONN_DOWN},       {ENETRESET, KVX_E_CONN_DOWN},
        {ESHUTDOWN, KVX_E_CONN_DOWN},    {EHOSTDOWN, KVX_E_CONN_DOWN},      {EADDRINUSE, KVX_E_CONN_DOWN},
        {EACCES, KVX_E_CONN_DOWN},       {EINTR, KVX_E_CONN_DOWN},          {EBADF, KVX_E_CONN_DOWN},
        {EFAULT, KVX_E_CONN_DOWN},       {EINPROGRESS, KVX_E_SOCKET_ERROR}, {EPIPE, KVX_E_SOCKET_ERROR},
        {EMFILE, KVX_E_SOCKET_ERROR},
    };
    for (const Case &c : cases)
        EXPECT_EQ(kvlink::mapRecordedError(kvlink::winsockError(c.posixErrno)), c.code) << c.posixErrno;
}

TEST(SocketErrors, WouldBlockAndOtherNumbers) {
    EXPECT_EQ(kvlink::winsockError(EAGAIN), 10035);
    EXPECT_EQ(kvlink::winsockError(EINPROGRESS), 10035);
    EXPECT_EQ(kvlink::winsockError(EMFILE), 10000 + EMFILE);
    EXPECT_EQ(kvlink::mapRecordedError(-3), -3) << "instrument codes pass unchanged";
    EXPECT_EQ(kvlink::mapRecordedError(KVX_E_MARSHAL), KVX_E_MARSHAL);
}

} // namespace
