// The exchange engine: one request/response at a time on a session's
// connection, with the reply time-out and the transparent reconnect.
#pragma once

#include "library_state.h"
#include "message_codec.h"

#include <cstdint>
#include <memory>

namespace kvlink {

// Sends one request with the command and the codec's payload and waits for
// the reply; KVX_OK, the instrument's error code, or a library code. A
// time-out or a dead connection closes the connection and flags it for
// reconnect on the next call.
int32_t runExchange(Session &session, int32_t bcn, Link link, int32_t command, const PayloadCodec &codec = {});

// Connects to the BCN's instrument as ccf.cfg says and completes the
// greeting (command 0). KVX_OK with the connection stored in `connection`.
int32_t establishConnection(int32_t bcn, Link link, std::unique_ptr<Connection> &connection);

} // namespace kvlink
