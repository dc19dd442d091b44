#include "trend_window_link.h"

#include <QDir>
#include <QLocalSocket>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

namespace tl32 {
namespace {

constexpr char kWindowClass[] = "TrendWindow";
constexpr int kAnswerTimeoutMs = 1000;

QString hashText(const QString &title) {
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a, 64 bits
    for (const char c : title.toUtf8()) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return QStringLiteral("%1").arg(hash, 16, 16, QLatin1Char('0'));
}

bool isPrivateDirectory(const QByteArray &path) {
    ::mkdir(path.constData(), 0700);
    struct stat status {};
    return ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::getuid() &&
           (status.st_mode & 077) == 0;
}

bool send(const QString &socketName, const char *request) {
    QLocalSocket socket;
    socket.connectToServer(socketName);
    if (!socket.waitForConnected(kAnswerTimeoutMs)) return false;
    socket.write(request);
    socket.waitForBytesWritten(kAnswerTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

// The sockets of every chart window of this user.
QStringList allWindowSockets() {
    const QString directory = trendWindowSocketDirectory();
    if (directory.isEmpty()) return {};
    QStringList sockets;
    for (const QString &name : QDir(directory).entryList({QString(kWindowClass) + "-*"}, QDir::System))
        sockets << directory + "/" + name;
    return sockets;
}

} // namespace

QString trendWindowSocketDirectory() {
    QString directory = qEnvironmentVariable("TL32_SOCKET_DIR");
    if (directory.isEmpty()) {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        directory = runtime.isEmpty() ? QStringLiteral("/tmp/trend-link-%1").arg(::getuid()) : runtime + "/trend-link";
    }
    return isPrivateDirectory(QFile::encodeName(directory)) ? directory : QString();
}

QString trendWindowSocketName(const QString &title) {
    const QString directory = trendWindowSocketDirectory();
    if (directory.isEmpty()) return {};
    return directory + "/" + kWindowClass + "-" + hashText(title);
}

bool bringTrendWindowForward(const QString &title) {
    const QString name = trendWindowSocketName(title);
    return !name.isEmpty() && send(name, kComeForwardRequest);
}

bool bringAnyTrendWindowForward() {
    for (const QString &socket : allWindowSockets())
        if (send(socket, kComeForwardRequest)) return true;
    return false;
}

int closeTrendWindows() {
    int answered = 0;
    for (const QString &socket : allWindowSockets()) answered += send(socket, kCloseRequest) ? 1 : 0;
    return answered;
}

} // namespace tl32
