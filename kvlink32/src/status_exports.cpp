// The instrument's status word, its internal error word, and the wait until
// it is no longer busy.
#include "operation_calls.h"
#include "time_base.h"

#include <time.h>

namespace kvlink {
namespace {

constexpr int32_t kCommandStatus = 2;
constexpr int32_t kCommandInternalError = 4;
constexpr uint32_t kBusyBits = 0xFF000000u;
constexpr uint32_t kStatusPollMs = 45;

void pause(long milliseconds) {
    const timespec delay{0, milliseconds * 1000000L};
    nanosleep(&delay, nullptr);
}

// Polls the status word every 45 ms until no busy bit is set (1), the
// longest wait has passed (0), or a request fails (its code). The caller's
// pump runs throughout, whatever the dispatch setting.
int32_t waitWhileBusy(Session &session, int32_t bcn, uint32_t longestMs, uint32_t &statusOr) {
    LibraryState &lib = library();
    const uint32_t start = tickMs();
    uint32_t word = 0;
    int32_t result = runCommand(session, bcn, Link::Main, kCommandStatus, {}, &word);
    if (result != KVX_OK) return result;
    statusOr |= word;
    if ((word & kBusyBits) == 0) return KVX_OK;
    uint32_t lastPoll = tickMs();
    while (tickMs() - start <= longestMs) {
        if (lib.pump != nullptr) lib.pump(lib.pumpContext);
        if (tickMs() - lastPoll > kStatusPollMs) {
            result = runCommand(session, bcn, Link::Main, kCommandStatus, {}, &word);
            if (result != KVX_OK) return result;
            lastPoll = tickMs();
            statusOr |= word;
            if ((word & kBusyBits) == 0) return KVX_OK;
        }
        pause(5);
    }
    return 0;
}

} // namespace
} // namespace kvlink

using kvlink::Link;

extern "C" {

KVX_API int32_t kvxInstStatus(int32_t bcn, uint32_t *status) {
    return kvlink::wordCall(bcn, Link::Main, kvlink::kCommandStatus, status);
}

KVX_API int32_t kvxInstStatus2(int32_t bcn, uint32_t *status) {
    return kvlink::wordCall(bcn, Link::PassThru, kvlink::kCommandStatus, status);
}

KVX_API int32_t kvxIError(int32_t bcn, int32_t *word) {
    return kvlink::wordCall(bcn, Link::Main, kvlink::kCommandInternalError, word);
}

KVX_API int32_t kvxBusyWait(int32_t bcn, uint32_t longestMs, uint32_t *statusOr) {
    return kvlink::instrumentCall(bcn, Link::Main, [&](kvlink::Session &session) -> int32_t {
        uint32_t accumulated = 0;
        const int32_t result = kvlink::waitWhileBusy(session, bcn, longestMs, accumulated);
        *statusOr = accumulated;
        return result;
    });
}

} // extern "C"
