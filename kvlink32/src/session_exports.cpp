// Opening and closing the two connections of an instrument's session.
#include "ccf_file.h"
#include "exchange.h"
#include "library_state.h"
#include "transport.h"

namespace kvlink {
namespace {

constexpr int32_t kCommandClose = 1;

int32_t openConnection(int32_t bcn, Link link) {
    if (!validBcn(bcn)) return KVX_E_BAD_BCN;
    return guardedCall([&]() -> int32_t {
        LibraryState &lib = library();
        CcfImage image;
        const int32_t read = readCcf(lib.ccfPath, image);
        if (read != KVX_OK) return read;
        const int slot = findCcfSlot(image, bcn);
        if (slot < 0) return KVX_E_BCN_NOT_CONFIGURED;
        const auto &address = image.addresses[static_cast<size_t>(slot)];
        if (image.netMode == KVX_NET_GENERAL && address == std::array<uint8_t, 4>{0, 0, 0, 0}) return KVX_E_BAD_ADDRESS;
        lib.networkStarted = true;

        std::unique_ptr<Session> &sessionSlot = lib.sessions[static_cast<size_t>(bcn - 1)];
        const bool newSession = sessionSlot == nullptr;
        if (newSession) {
            if (lib.openSessions >= KVX_MAX_SESSIONS) return KVX_E_TOO_MANY;
            sessionSlot = std::make_unique<Session>();
            sessionSlot->model = image.models[static_cast<size_t>(slot)];
            ++lib.openSessions;
        } else if (sessionSlot->usable(link)) {
            return KVX_E_ALREADY_OPEN;
        }

        const int32_t result = establishConnection(bcn, link, sessionSlot->connection(link));
        if (result != KVX_OK && sessionSlot->unused()) {
            sessionSlot.reset();
            --lib.openSessions;
        }
        return result;
    });
}

int32_t closeConnection(int32_t bcn, Link link) {
    return instrumentCall(bcn, link, [&](Session &session) -> int32_t {
        int32_t result = KVX_OK;
        if (session.connection(link) != nullptr) {
            runExchange(session, bcn, link, kCommandClose); // its outcome does not matter
            if (session.connection(link) != nullptr) result = closeSocket(*session.connection(link));
        }
        session.connection(link).reset();
        session.reconnectFlag(link) = false;
        LibraryState &lib = library();
        if (session.unused()) {
            lib.sessions[static_cast<size_t>(bcn - 1)].reset();
            --lib.openSessions;
        }
        return result;
    });
}

} // namespace
} // namespace kvlink

using kvlink::Link;

extern "C" {

KVX_API int32_t kvxCommOpen(int32_t bcn) { return kvlink::openConnection(bcn, Link::Main); }
KVX_API int32_t kvxCommOpen2(int32_t bcn) { return kvlink::openConnection(bcn, Link::PassThru); }
KVX_API int32_t kvxCommClose(int32_t bcn) { return kvlink::closeConnection(bcn, Link::Main); }
KVX_API int32_t kvxCommClose2(int32_t bcn) { return kvlink::closeConnection(bcn, Link::PassThru); }

} // extern "C"
