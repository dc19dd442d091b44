#include "trend_window_server.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include "trend_window_link.h"

namespace tl32 {

TrendWindowServer::TrendWindowServer(QWidget *window, const QString &title)
        : window_(window), server_(new QLocalServer(this)) {
    const QString name = trendWindowSocketName(title);
    if (name.isEmpty()) return;
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &TrendWindowServer::serveConnections);
    if (server_->listen(name)) return;
    // Taken: by a window that answers (started at the same moment), or by a
    // socket file a crashed one left behind.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (server_->serverError() == QAbstractSocket::AddressInUseError && !probe.waitForConnected(1000)) {
        QLocalServer::removeServer(name);
        server_->listen(name);
    }
}

TrendWindowServer::~TrendWindowServer() = default;

bool TrendWindowServer::isListening() const { return server_->isListening(); }

void TrendWindowServer::serveConnections() {
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
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
    if (!window_) return;
    if (request == kCloseRequest) {
        window_->close();
    } else if (request == kComeForwardRequest) {
        window_->setWindowState((window_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window_->show();
        window_->raise();
        window_->activateWindow();
    }
}

} // namespace tl32
