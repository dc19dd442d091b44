#include "shell/single_instance.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <unistd.h>

#include <utility>

namespace korvel {
namespace {

constexpr char kComeForward[] = "come forward\n";
constexpr int kConnectTimeoutMs = 1000;

QString userServerName() { return QStringLiteral("KorLoggerMainWindow-%1").arg(getuid()); }

bool connectToCopy(QLocalSocket &socket, const QString &serverName) {
    socket.connectToServer(serverName);
    return socket.waitForConnected(kConnectTimeoutMs);
}

// Sends the request; false when no copy listens on that name.
bool askToComeForward(const QString &serverName) {
    QLocalSocket socket;
    if (!connectToCopy(socket, serverName)) return false;
    socket.write(kComeForward);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

void bringForward(QWidget &window) {
    // Restores a minimised window to the state it had before, maximised or not.
    if (window.isMinimized()) window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
    if (QWidget *dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
    }
}

} // namespace

SingleInstance::SingleInstance() : SingleInstance(userServerName()) {}

SingleInstance::SingleInstance(QString serverName) : serverName_(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::anotherCopyBroughtForward() { return askToComeForward(serverName_); }

void SingleInstance::listen(QWidget *mainWindow) {
    mainWindow_ = mainWindow;
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] { serveConnection(); });
    if (server_->listen(serverName_)) return;
    // The name is taken: by a socket file that a crashed copy left, unless a
    // copy started at the same moment answers on it.
    QLocalSocket probe;
    if (server_->serverError() == QAbstractSocket::AddressInUseError && !connectToCopy(probe, serverName_)) {
        QLocalServer::removeServer(serverName_);
        server_->listen(serverName_);
    }
}

void SingleInstance::serveConnection() {
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto readRequest = [this, socket] {
            if (!socket->canReadLine()) return;
            if (socket->readLine() == kComeForward && mainWindow_) bringForward(*mainWindow_);
            socket->disconnectFromServer();
        };
        QObject::connect(socket, &QLocalSocket::readyRead, socket, readRequest);
        readRequest();
    }
}

} // namespace korvel
