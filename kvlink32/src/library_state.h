// The library's process-wide state and the guards every export runs first.
#pragma once

#include "connection.h"
#include "kvlink32.h"

#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <string>

namespace kvlink {

// The two connections of a session: main on the base port, pass-through on
// base port + 2 (the functions whose names end in 2).
enum class Link { Main, PassThru };

struct Session {
    std::unique_ptr<Connection> main;
    bool mainReconnect = false;
    std::unique_ptr<Connection> passThru;
    bool passThruReconnect = false;
    int32_t model = 0; // ccf.cfg model code when the session was created

    std::unique_ptr<Connection> &connection(Link link) { return link == Link::Main ? main : passThru; }
    bool &reconnectFlag(Link link) { return link == Link::Main ? mainReconnect : passThruReconnect; }
    bool usable(Link link) { return connection(link) != nullptr || reconnectFlag(link); }
    bool unused() const { return !main && !passThru && !mainReconnect && !passThruReconnect; }
};

struct LibraryState {
    bool initialised = false;
    bool busy = false;
    int32_t dispatchWhileWaiting = 0;
    std::string ccfPath;
    std::array<uint8_t, 3> isolatedPrefix{}; // network of the instruments in isolated mode
    std::array<std::unique_ptr<Session>, KVX_MAX_BCN> sessions{};
    int32_t openSessions = 0;
    bool networkStarted = false;
    uint32_t timeoutSeconds = KVX_DEFAULT_TIMEOUT;
    uint32_t sequence = 1; // incremented before each request: the first carries 2
    KvxMessagePump pump = nullptr;
    void *pumpContext = nullptr;

    Session *session(int32_t bcn) { return sessions[static_cast<size_t>(bcn - 1)].get(); }
};

LibraryState &library();

inline bool validBcn(int32_t bcn) { return bcn >= 1 && bcn <= KVX_MAX_BCN; }

// Runs body() with the busy mark set, after the initialised and busy checks.
// Nothing may be thrown across the C boundary: a failed allocation becomes
// KVX_E_NO_MEMORY.
template <class Body>
int32_t guardedCall(Body &&body) {
    LibraryState &lib = library();
    if (!lib.initialised) return KVX_E_NOT_INIT;
    if (lib.busy) return KVX_E_BUSY;
    lib.busy = true;
    int32_t result;
    try {
        result = body();
    } catch (const std::bad_alloc &) {
        result = KVX_E_NO_MEMORY;
    }
    lib.busy = false;
    return result;
}

// The entry guard of an instrument call: BCN range, initialised, busy, and a
// session whose needed connection is open or flagged for reconnect.
template <class Body>
int32_t instrumentCall(int32_t bcn, Link link, Body &&body) {
    if (!validBcn(bcn)) return KVX_E_BAD_BCN;
    return guardedCall([&]() -> int32_t {
        Session *session = library().session(bcn);
        if (session == nullptr || !session->usable(link)) return KVX_E_NOT_OPEN;
        return body(*session);
    });
}

} // namespace kvlink
