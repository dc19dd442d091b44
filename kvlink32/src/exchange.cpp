#include "exchange.h"

#include "byte_order.h"
#include "ccf_file.h"
#include "socket_errors.h"
#include "time_base.h"
#include "transport.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>

namespace kvlink {
namespace {

// How long one pass of the wait loop may block in poll(): short enough that
// the caller's pump keeps its timers and painting going.
constexpr int kPassMs = 5;
constexpr uint32_t kErrorReplyCommand = 0xFFFFFFFFu;
constexpr int32_t kConnectionResetError = 10054;

enum class Phase { Connecting, Sending, Receiving, Done };

struct Transaction {
    Connection *connection = nullptr;
    int32_t command = 0;
    PayloadCodec codec;
    Phase phase = Phase::Sending;
    uint32_t sequence = 0;
    size_t messageLength = 0;
    size_t bytesSent = 0;
    size_t bytesReceived = 0;
    size_t replyLength = 0;
    int32_t completionError = 0; // 0, a socket error number, or a negative code
    bool streamBroken = false;   // the connection cannot carry another exchange
};

void finish(Transaction &t, int32_t error, bool streamBroken = false) {
    t.completionError = error;
    t.streamBroken = t.streamBroken || streamBroken || error > 0;
    t.phase = Phase::Done;
}

void sendRest(Transaction &t) {
    uint8_t *buffer = t.connection->buffer.data();
    while (t.bytesSent < t.messageLength) {
        const ssize_t sent =
            ::send(t.connection->socket, buffer + t.bytesSent, t.messageLength - t.bytesSent, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) finish(t, winsockError(errno));
            return; // the rest goes when the socket is writable again
        }
        t.bytesSent += static_cast<size_t>(sent);
    }
    t.phase = Phase::Receiving;
    t.bytesReceived = 0;
}

void beginRequest(Transaction &t) {
    uint8_t *buffer = t.connection->buffer.data();
    MessageWriter writer(buffer, KVX_MAX_MESSAGE, KVX_HEADER_SIZE);
    if (t.codec.encode != nullptr && !t.codec.encode(writer, t.codec.argument)) {
        finish(t, KVX_E_MARSHAL);
        return;
    }
    t.sequence = ++library().sequence;
    t.messageLength = writer.offset();
    buffer[0] = 'K';
    buffer[1] = 'V';
    buffer[2] = 'E';
    buffer[3] = 'X';
    putU32(buffer + 4, t.sequence);
    putU32(buffer + 8, static_cast<uint32_t>(t.command));
    putU32(buffer + 12, static_cast<uint32_t>(t.messageLength));
    t.bytesSent = 0;
    t.phase = Phase::Sending;
    sendRest(t);
}

void completeReply(Transaction &t) {
    const uint8_t *buffer = t.connection->buffer.data();
    if (getU32(buffer + 8) == kErrorReplyCommand) {
        MessageReader reader(buffer, t.replyLength, KVX_HEADER_SIZE);
        int32_t code = 0;
        // An error reply without a code (or with code 0) must not pass for success.
        finish(t, reader.getInt(code) && code != 0 ? code : KVX_E_MARSHAL);
        return;
    }
    if (t.codec.decode != nullptr) {
        MessageReader reader(buffer, t.replyLength, KVX_HEADER_SIZE);
        if (!t.codec.decode(reader, t.codec.argument)) {
            finish(t, KVX_E_MARSHAL);
            return;
        }
    }
    finish(t, 0);
}

// Takes what has arrived, never more than the message in hand, so a reply
// that follows stays in the socket for the next exchange.
void receiveAvailable(Transaction &t) {
    uint8_t *buffer = t.connection->buffer.data();
    while (t.phase == Phase::Receiving) {
        const size_t wanted =
            t.bytesReceived < KVX_HEADER_SIZE ? KVX_HEADER_SIZE - t.bytesReceived : t.replyLength - t.bytesReceived;
        const ssize_t got = ::recv(t.connection->socket, buffer + t.bytesReceived, wanted, 0);
        if (got == 0) {
            finish(t, kConnectionResetError); // the instrument closed the connection
            return;
        }
        if (got < 0) {
            if (errno == EINTR) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) finish(t, winsockError(errno));
            return;
        }
        const bool headerWasIncomplete = t.bytesReceived < KVX_HEADER_SIZE;
        t.bytesReceived += static_cast<size_t>(got);
        if (headerWasIncomplete && t.bytesReceived == KVX_HEADER_SIZE) {
            t.replyLength = getU32(buffer + 12);
            // A length outside the frame's bounds cannot be framed: refuse it
            // rather than read past the buffer or lose track of the stream.
            if (t.replyLength < KVX_HEADER_SIZE || t.replyLength > KVX_MAX_MESSAGE) {
                finish(t, KVX_E_MARSHAL, true);
                return;
            }
        }
        if (t.bytesReceived < KVX_HEADER_SIZE || t.bytesReceived < t.replyLength) continue;
        if (getU32(buffer + 4) != t.sequence) {
            t.bytesReceived = 0; // a reply to some other request: skip it
            continue;
        }
        completeReply(t);
    }
}

void completeConnect(Transaction &t) {
    const int32_t error = connectResult(*t.connection);
    if (error != 0) {
        finish(t, error);
        return;
    }
    beginRequest(t);
}

// One pass of socket work: waits up to kPassMs for the socket to be ready
// for the current phase and moves the exchange on.
void advance(Transaction &t) {
    pollfd descriptor{t.connection->socket, 0, 0};
    descriptor.events = t.phase == Phase::Receiving ? POLLIN : POLLOUT;
    const int ready = ::poll(&descriptor, 1, kPassMs);
    if (ready <= 0) return;
    switch (t.phase) {
        case Phase::Connecting: completeConnect(t); break;
        case Phase::Sending: sendRest(t); break;
        case Phase::Receiving: receiveAvailable(t); break;
        case Phase::Done: break;
    }
}

// Runs the exchange until it is done; false when no complete reply came in
// time. The time-out counts whole seconds: it expires once more than
// timeoutSeconds have elapsed, then a few more passes and 100 ms later.
bool waitForCompletion(Transaction &t) {
    LibraryState &lib = library();
    const uint32_t start = tickMs();
    uint32_t overdueSince = 0;
    int overduePasses = 0;
    while (t.phase != Phase::Done) {
        advance(t);
        if (t.phase == Phase::Done) break;
        const uint32_t now = tickMs();
        if ((now - start) / 1000 > lib.timeoutSeconds) {
            if (overduePasses == 0) overdueSince = now;
            ++overduePasses;
            if (overduePasses > 4 && now - overdueSince > 100) return false;
        }
        if (lib.dispatchWhileWaiting != 0 && lib.pump != nullptr) lib.pump(lib.pumpContext);
    }
    return true;
}

int32_t resolveEndpoint(int32_t bcn, Link link, Endpoint &endpoint) {
    CcfImage image;
    const int32_t read = readCcf(library().ccfPath, image);
    if (read != KVX_OK) return read;
    uint32_t basePort = 0;
    if (image.netMode == KVX_NET_ISOLATED) {
        const auto &prefix = library().isolatedPrefix;
        endpoint.address = {prefix[0], prefix[1], prefix[2], static_cast<uint8_t>(bcn)};
        basePort = KVX_ISOLATED_PORT;
    } else if (image.netMode == KVX_NET_GENERAL) {
        const int slot = findCcfSlot(image, bcn);
        if (slot < 0) return KVX_E_BCN_NOT_CONFIGURED;
        endpoint.address = image.addresses[static_cast<size_t>(slot)];
        const bool noAddress = endpoint.address == std::array<uint8_t, 4>{0, 0, 0, 0};
        if (noAddress || image.socketPort <= 0 || image.socketPort > 65535) return KVX_E_BAD_ADDRESS;
        basePort = static_cast<uint32_t>(image.socketPort);
    } else {
        return KVX_E_CCF_DAMAGED;
    }
    endpoint.port = static_cast<uint16_t>(link == Link::Main ? basePort : passThruPort(basePort));
    return KVX_OK;
}

} // namespace

int32_t establishConnection(int32_t bcn, Link link, std::unique_ptr<Connection> &connection) {
    Endpoint endpoint;
    const int32_t resolved = resolveEndpoint(bcn, link, endpoint);
    if (resolved != KVX_OK) return resolved;

    auto candidate = std::make_unique<Connection>();
    const int32_t started = startConnect(*candidate, endpoint);
    if (started != KVX_OK) return started;

    Transaction greeting;
    greeting.connection = candidate.get();
    greeting.command = 0;
    greeting.phase = Phase::Connecting;
    if (!waitForCompletion(greeting)) return KVX_E_TIMEOUT;
    if (greeting.completionError != 0) {
        const int32_t closed = closeSocket(*candidate);
        return closed != KVX_OK ? closed : mapRecordedError(greeting.completionError);
    }
    connection = std::move(candidate);
    return KVX_OK;
}

int32_t runExchange(Session &session, int32_t bcn, Link link, int32_t command, const PayloadCodec &codec) {
    std::unique_ptr<Connection> &connection = session.connection(link);
    bool &reconnect = session.reconnectFlag(link);
    if (connection == nullptr) {
        // Only a flagged connection reaches here; its cause is not reported.
        if (establishConnection(bcn, link, connection) != KVX_OK) return KVX_E_TIMEOUT;
        reconnect = false;
    }

    Transaction t;
    t.connection = connection.get();
    t.command = command;
    t.codec = codec;
    beginRequest(t);
    const bool finished = waitForCompletion(t);
    const int32_t result =
        !finished ? KVX_E_TIMEOUT : (t.completionError == 0 ? KVX_OK : mapRecordedError(t.completionError));
    if (!finished || result == KVX_E_NET_TIMEOUT || t.streamBroken) {
        connection.reset(); // closes the socket; the next call on this BCN reconnects
        reconnect = true;
    }
    return result;
}

} // namespace kvlink
