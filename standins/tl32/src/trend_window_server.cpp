#include "trend_window_server.h"

#include <QFile>
#include <QLocalSocket>

#include <system_error>

#include "trend_window_link.h"

namespace tl32 {

std::unique_ptr<TrendWindowServer> TrendWindowServer::claim(const QString &title) {
    const QString name = trendWindowSocketName(title);
    std::optional<korvel::LocalNameClaim> claim;
    if (!name.isEmpty()) {
        try {
            claim = korvel::LocalNameClaim::tryClaim(QFile::encodeName(name).toStdString());
            if (!claim) return nullptr;
        } catch (const std::system_error &) {
            // A directory that takes no lock file: the window goes without a socket.
        }
    }
    return std::unique_ptr<TrendWindowServer>(new TrendWindowServer(title, std::move(claim)));
}

TrendWindowServer::TrendWindowServer(QString title, std::optional<korvel::LocalNameClaim> claim)
        : title_(std::move(title)), claim_(std::move(claim)) {
    if (!claim_) return;
    connect(&server_, &QLocalServer::newConnection, this, &TrendWindowServer::serveConnections);
    // The socket is bound aside and renamed into place, which also replaces
    // one that a chart window that crashed left behind: with the claim held,
    // whatever is at the path is no running window's.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(trendWindowSocketName(title_));
}

TrendWindowServer::~TrendWindowServer() = default;

void TrendWindowServer::serveConnections() {
    while (QLocalSocket *socket = server_.nextPendingConnection()) {
        socket->setReadBufferSize(128); // one short request line is all a client sends
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto readRequest = [this, socket] {
            if (!socket->canReadLine()) return;
            const QByteArray request = socket->readLine(64);
            socket->disconnectFromServer();
            act(request);
        };
        connect(socket, &QLocalSocket::readyRead, socket, readRequest);
        readRequest();
    }
}

void TrendWindowServer::act(const QByteArray &request) {
    if (request == kCloseRequest)
        emit closeRequested();
    else if (request == kComeForwardRequest)
        emit comeForwardRequested();
}

} // namespace tl32
