// Starting and stopping the library, the reply time-out, the caller's
// message pump and the PC time base.
#include "library_state.h"
#include "time_base.h"
#include "transport.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>

namespace kvlink {

LibraryState &library() {
    static LibraryState state;
    return state;
}

namespace {

// Instruments on an isolated network answer at these three bytes followed
// by their BCN.
constexpr std::array<uint8_t, 3> kDefaultIsolatedPrefix{10, 75, 86};

// ccf.cfg lies beside the library unless the installation names a directory.
bool locateCcf(std::string &path) {
    if (const char *dir = std::getenv("KVLINK32_CCF_DIR"); dir != nullptr && *dir != '\0') {
        path = std::string(dir) + "/ccf.cfg";
        return true;
    }
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&locateCcf), &info) == 0 || info.dli_fname == nullptr) return false;
    std::string file = info.dli_fname;
    const size_t slash = file.rfind('/');
    path = (slash == std::string::npos ? std::string(".") : file.substr(0, slash)) + "/ccf.cfg";
    return true;
}

std::array<uint8_t, 3> isolatedPrefixFromEnvironment() {
    const char *text = std::getenv("KVLINK32_ISOLATED_PREFIX");
    unsigned a = 0, b = 0, c = 0;
    char extra = 0;
    if (text == nullptr || std::sscanf(text, "%u.%u.%u%c", &a, &b, &c, &extra) != 3 || a > 255 || b > 255 || c > 255)
        return kDefaultIsolatedPrefix;
    return {static_cast<uint8_t>(a), static_cast<uint8_t>(b), static_cast<uint8_t>(c)};
}

} // namespace
} // namespace kvlink

using kvlink::library;
using kvlink::LibraryState;

extern "C" {

KVX_API int32_t kvxLibInit(int32_t dispatchWhileWaiting) {
    LibraryState &lib = library();
    // A second start must leave the first one, and a call in progress, intact.
    if (lib.initialised) return KVX_E_ALREADY_INIT;
    if (!kvlink::locateCcf(lib.ccfPath)) return KVX_E_NO_PATH;
    lib.isolatedPrefix = kvlink::isolatedPrefixFromEnvironment();
    kvlink::markTimeBaseForResync();
    lib.dispatchWhileWaiting = dispatchWhileWaiting;
    for (auto &session : lib.sessions) session.reset();
    lib.openSessions = 0;
    lib.initialised = true;
    return KVX_OK;
}

KVX_API int32_t kvxLibExit(void) {
    LibraryState &lib = library();
    if (!lib.initialised) return KVX_E_NOT_INIT;
    if (lib.busy) return KVX_E_BUSY;
    lib.busy = true;
    int32_t result = KVX_OK;
    for (auto &session : lib.sessions) {
        if (!session) continue;
        // Closed at once: no close request is sent at exit.
        for (auto *connection : {session->main.get(), session->passThru.get()})
            if (connection != nullptr) result = kvlink::closeSocket(*connection);
        session.reset();
    }
    lib.openSessions = 0;
    lib.networkStarted = false;
    lib.initialised = false;
    lib.busy = false;
    return result;
}

KVX_API int32_t kvxTimeoutGet(int32_t *seconds) {
    return kvlink::guardedCall([&]() -> int32_t {
        *seconds = static_cast<int32_t>(library().timeoutSeconds);
        return KVX_OK;
    });
}

KVX_API int32_t kvxTimeoutSet(int32_t seconds) {
    return kvlink::guardedCall([&]() -> int32_t {
        if (seconds == 0) return KVX_E_BAD_TIMEOUT;
        library().timeoutSeconds = static_cast<uint32_t>(seconds);
        return KVX_OK;
    });
}

KVX_API int32_t kvxMessagePumpSet(KvxMessagePump pump, void *context) {
    LibraryState &lib = library();
    lib.pump = pump;
    lib.pumpContext = context;
    return KVX_OK;
}

KVX_API void kvxPCTimeChange(void) { kvlink::markTimeBaseForResync(); }

KVX_API int32_t kvxTimeToolbox(int32_t *seconds, int32_t *milliseconds) {
    return kvlink::guardedCall([&]() -> int32_t {
        int64_t calendarSeconds = 0;
        int32_t ms = 0;
        kvlink::readPcTime(calendarSeconds, ms);
        *seconds = static_cast<int32_t>(calendarSeconds);
        *milliseconds = ms;
        return KVX_OK;
    });
}

} // extern "C"
